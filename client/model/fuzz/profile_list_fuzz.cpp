// Any bytes as the XML text of a profile list: whatever the reader takes is
// written and read back to the same document.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "model/profile_list_document.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string WrittenText(const std::vector<z5r::SProfile>& profiles) {
    pugi::xml_document doc;
    z5r::BuildProfileListDocument(doc, profiles, z5r::EProfileListMark::Plain);
    std::ostringstream text;
    doc.save(text, "", pugi::format_raw, pugi::encoding_utf8);
    return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pugi::xml_document doc;
    if (!doc.load_buffer(data, size, pugi::parse_default, pugi::encoding_utf8)) return 0;
    for (const auto test : {z5r::ESecureListTest::Skip, z5r::ESecureListTest::Require}) {
        std::vector<z5r::SProfile> profiles(1);
        const auto result = z5r::ReadProfileListDocument(doc, test, profiles);
        if (result != z5r::EProfileListRead::Read) {
            Require(profiles.size() == 1, "a refused list leaves memory as it was");
            continue;
        }
        const std::string written = WrittenText(profiles);
        pugi::xml_document again;
        Require(static_cast<bool>(again.load_string(written.c_str())), "the written text is XML");
        std::vector<z5r::SProfile> reread;
        Require(z5r::ReadProfileListDocument(again, z5r::ESecureListTest::Skip, reread) == z5r::EProfileListRead::Read,
                "a written list reads");
        Require(reread.size() == profiles.size(), "every profile reads back");
        Require(WrittenText(reread) == written, "a written list reads back as written");
    }
    return 0;
}

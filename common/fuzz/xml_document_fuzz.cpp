// Any bytes as a stored document, and the same bytes as the XML text inside a
// well-formed plain and compressed file: a document that opens is stored and
// opens again with the same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "korvel/common/xml_document.h"

namespace {

constexpr const char* kTag = "VxZ\x01";

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string TextOf(const VxCore::CXMLDocument& doc) {
    std::ostringstream text;
    doc.Doc().save(text, "", pugi::format_raw, pugi::encoding_utf8);
    return text.str();
}

void CheckReopens(VxCore::CXMLDocument& doc) {
    const std::string before = TextOf(doc);
    const std::string stored = doc.StoredBytes();
    VxCore::CXMLDocument again(true);
    again.SetSignature(kTag);
    Require(again.OpenBytes(stored.data(), stored.size()) == VxCore::xdrOk, "a stored document opens");
    Require(TextOf(again) == before, "a stored document keeps its text");
}

void OpenAs(const std::string& bytes, bool compress) {
    VxCore::CXMLDocument doc(true);
    doc.SetSignature(kTag);
    doc.SetCompression(compress);
    if (doc.OpenBytes(bytes.data(), bytes.size()) == VxCore::xdrOk) {
        CheckReopens(doc);
    } else {
        Require(!doc.Doc().first_child(), "a refused file leaves no content");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    OpenAs(bytes, true);

    // The input as the text of a document: parse it the way a file's text is.
    VxCore::CXMLDocument text(true);
    text.SetSignature(kTag);
    if (text.Doc().load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8)) {
        for (bool compress : {false, true}) {
            text.SetCompression(compress);
            OpenAs(text.StoredBytes(), compress);
        }
    }
    return 0;
}

// Arbitrary bytes as an SRF list file: every non-empty line gives one segment,
// and once written and read back, a list writes the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/list_file.h"

namespace {

std::string Written(const z5r::SListFileRead& read) {
    std::string text;
    z5r::SPointLists scratch;
    for (const z5r::SListPoint& segment : read.segments)
        z5r::AppendListLines(text, z5r::EListFileType::Srf, segment, std::nullopt, scratch);
    return text;
}

std::size_t NonEmptyLines(std::string_view text) {
    std::size_t count = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) ++count;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const z5r::SListFileRead read = z5r::ReadListText(text, z5r::EListFileType::Srf);
    if (read.status != z5r::EListFileStatus::Ok) std::abort();
    if (read.segments.size() != NonEmptyLines(text)) std::abort();

    // The first writing rounds to 13 digits and may make ends equal; from
    // then on the text stays the same.
    const std::string once = Written(z5r::ReadListText(Written(read), z5r::EListFileType::Srf));
    const std::string twice = Written(z5r::ReadListText(once, z5r::EListFileType::Srf));
    if (once != twice) std::abort();
    return 0;
}

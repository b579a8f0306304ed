// Arbitrary bytes as a CSV list file: the file is read whole or rejected
// whole, every line read is one ticked point, and a list written as CSV
// reads back as its points.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/list_file.h"

namespace {

// Writing expands every segment; a point count from the input could make
// that a million lines per segment.
constexpr std::int32_t kMostPointsWritten = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const z5r::SListFileRead read = z5r::ReadListText(text, z5r::EListFileType::Csv);
    if (read.status == z5r::EListFileStatus::CsvRejected) {
        if (!read.segments.empty()) std::abort();
        return 0;
    }
    if (read.status != z5r::EListFileStatus::Ok) std::abort();
    std::size_t points = 0;
    std::string written;
    z5r::SPointLists scratch;
    for (const z5r::SListPoint& segment : read.segments) {
        if (segment.startfreq != segment.stopfreq || segment.startpow != segment.stoppow ||
            segment.linfreq != 1 || segment.used != 1)
            std::abort();
        if (segment.points > kMostPointsWritten) continue;
        z5r::AppendListLines(written, z5r::EListFileType::Csv, segment, std::nullopt, scratch);
        points += scratch.Size();
    }
    const z5r::SListFileRead again = z5r::ReadListText(written, z5r::EListFileType::Csv);
    if (again.status != z5r::EListFileStatus::Ok || again.segments.size() != points) std::abort();
    return 0;
}

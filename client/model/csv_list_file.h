// The CSV list file: one line per point, the frequency in hertz and the level
// in dBm. Written with a semicolon; read also as other programs write it
// (semicolon, comma or blank separated, decimal commas, quoted fields).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/list_point.h"
#include "model/segment_expansion.h"

namespace z5r {

// Appends the lines of every point of `segment` (expanded with the level
// ceiling when there is one), each ending in CR LF. `scratch` holds the
// points between calls so a long list needs no new memory per segment.
void AppendCsvLines(std::string& out, const SListPoint& segment, std::optional<double> ceiling,
                    SPointLists& scratch);

// Reads a CSV file line by line. Every line becomes a one-point segment (a
// third number is its point count). The file is rejected as a whole when a
// line after the first has a semicolon and the first had none, or lacks one
// when the first had one, or holds another count of numbers than the first;
// empty lines count as lines (an empty first line fixes the count at 0).
class CCsvListReader {
public:
    // One line without its line end. Returns false once the file is
    // rejected; later lines are then ignored.
    bool Line(std::string_view line);

    bool Rejected() const { return rejected_; }
    // The segments read so far, in line order.
    std::vector<SListPoint>& Segments() { return segments_; }

private:
    bool Reject();

    std::size_t lineIndex_ = 0;
    bool semicolonMode_ = false;
    std::size_t columns_ = 0;
    bool rejected_ = false;
    std::string work_;
    std::vector<SListPoint> segments_;
};

}  // namespace z5r

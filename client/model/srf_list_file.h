// The SRF list file: one line per segment, numbers separated by tabs.
//
// A fixed segment (one point, or equal frequencies and levels) is written
// short, as start frequency, start level and point count, each followed by a
// tab; every other segment long, as start and stop frequency, start and stop
// level, point count, spacing and tick. A short line reads back linear and
// ticked.
#pragma once

#include <string>
#include <string_view>

#include "core/list_point.h"
#include "model/list_file_numbers.h"

namespace z5r {

// Appends the line of `segment`, ending in CR LF.
void AppendSrfLine(std::string& out, const SListPoint& segment);

// The segment of one non-empty line (without its line end). Commas count as
// decimal points; a line that is not numeric gives the segment of whatever
// numbers precede its text (none: 0 Hz, 0 dBm, 0 points).
SListPoint SrfSegment(std::string_view line);

// The segment of the short layout, which every CSV line also reads into:
// one point at the first number (Hz) and the second (dBm), the third
// truncated as the point count, linear and ticked.
SListPoint ShortLayoutSegment(const SListLineNumbers& numbers);

}  // namespace z5r

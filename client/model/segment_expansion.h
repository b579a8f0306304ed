// Expanding sweep-list segments into the frequency and level point lists
// that go to the instrument.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/list_point.h"

namespace z5r {

// The two point lists (listFreqs in Hz, listPows in dBm); the expansion
// always grows both by the same number of entries.
struct SPointLists {
    std::vector<double> freqs;
    std::vector<double> levels;

    std::size_t Size() const { return freqs.size(); }
    bool Empty() const { return freqs.empty() && levels.empty(); }
    friend bool operator==(const SPointLists&, const SPointLists&) = default;
};

// Far beyond any list an instrument takes (the warning limit is 5001), but
// small enough that a segment with an absurd point count read from a file
// cannot exhaust memory: the expansion stops appending at this length.
inline constexpr std::size_t kMaxExpandedPoints = 1000000;

struct SSegmentRange {
    bool log = false;       // logarithmic frequency spacing
    double intervals = 0;   // points - 1; below 1 the segment is one point
    double startFreq = 0;   // Hz
    double stopFreq = 0;    // Hz
    double startLevel = 0;  // dBm
    double stopLevel = 0;   // dBm
};

// Appends the points of one segment (clear: empty both lists first).
// Frequencies are truncated toward zero to whole hertz; with a ceiling every
// level is capped at it.
void ExpandSegment(SPointLists& lists, bool clear, const SSegmentRange& segment,
                   std::optional<double> ceiling);

// The arguments of ExpandSegment for a list segment: log when linfreq is 0,
// intervals = points - 1.
SSegmentRange RangeOf(const SListPoint& segment);

// The list of the list panel: every segment whose `used` is non-zero, in
// order, appended to emptied lists.
void ExpandSegments(SPointLists& lists, const std::vector<SListPoint>& segments,
                    std::optional<double> ceiling);

}  // namespace z5r

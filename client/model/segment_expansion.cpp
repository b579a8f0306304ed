#include "model/segment_expansion.h"

#include <algorithm>
#include <cmath>

namespace z5r {

namespace {

void Append(SPointLists& lists, double freq, double level) {
    if (lists.freqs.size() >= kMaxExpandedPoints || lists.levels.size() >= kMaxExpandedPoints)
        return;
    lists.freqs.push_back(std::trunc(freq));
    lists.levels.push_back(level);
}

}  // namespace

void ExpandSegment(SPointLists& lists, bool clear, const SSegmentRange& segment,
                   std::optional<double> ceiling) {
    if (clear) {
        lists.freqs.clear();
        lists.levels.clear();
    }
    double n = segment.intervals;
    // Also catches a count that is not a number.
    const bool single = !(n >= 1.0);
    if (single) n = 1.0;

    const double f0 = segment.startFreq;
    const double f1 = segment.stopFreq;
    const double l0 = segment.startLevel;
    const double l1 = segment.stopLevel;
    double lmax = std::max(l0, l1);
    if (ceiling && lmax > *ceiling) lmax = *ceiling;

    const double fs = (f1 - f0) / n;
    const double ls = (l1 - l0) / n;
    double f = f0;
    double l = l0;
    for (double i = 0; i < n && lists.Size() < kMaxExpandedPoints; i += 1.0) {
        Append(lists, f, std::min(l, lmax));
        l += ls;
        if (segment.log) {
            f = f0 > 0 ? f0 * std::pow(f1 / f0, (i + 1.0) / n) : 0.0;
        } else {
            f += fs;  // accumulated step by step, not recomputed from the start
        }
    }
    if (!single) Append(lists, f1, std::min(l1, lmax));
}

SSegmentRange RangeOf(const SListPoint& segment) {
    return SSegmentRange{
        .log = segment.linfreq == 0,
        .intervals = static_cast<double>(segment.points) - 1.0,
        .startFreq = segment.startfreq,
        .stopFreq = segment.stopfreq,
        .startLevel = segment.startpow,
        .stopLevel = segment.stoppow,
    };
}

void ExpandSegments(SPointLists& lists, const std::vector<SListPoint>& segments,
                    std::optional<double> ceiling) {
    lists.freqs.clear();
    lists.levels.clear();
    for (const SListPoint& segment : segments) {
        if (segment.used != 0) ExpandSegment(lists, false, RangeOf(segment), ceiling);
    }
}

}  // namespace z5r

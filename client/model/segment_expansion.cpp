#include "model/segment_expansion.h"

#include <algorithm>
#include <cmath>

namespace z5r {

namespace {

// How many steps `for (i = 0; i < n; i += 1)` takes, at most `limit`.
std::size_t StepsBelow(double n, std::size_t limit) {
    return n >= static_cast<double>(limit) ? limit : static_cast<std::size_t>(std::ceil(n));
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

    // Both lists grow by the same count, never past the limit. They are
    // sized once and filled in place: a sweep of thousands of points is
    // built again on every change of one of its settings.
    const std::size_t used = std::max(lists.freqs.size(), lists.levels.size());
    const std::size_t room = used < kMaxExpandedPoints ? kMaxExpandedPoints - used : 0;
    const std::size_t steps = StepsBelow(n, room);
    const bool endPoint = !single && steps < room;
    const std::size_t freqsAt = lists.freqs.size();
    const std::size_t levelsAt = lists.levels.size();
    lists.freqs.resize(freqsAt + steps + (endPoint ? 1 : 0));
    lists.levels.resize(levelsAt + steps + (endPoint ? 1 : 0));
    double* const freqs = lists.freqs.data() + freqsAt;
    double* const levels = lists.levels.data() + levelsAt;

    const double ls = (l1 - l0) / n;
    double l = l0;
    for (std::size_t i = 0; i < steps; ++i) {
        levels[i] = std::min(l, lmax);
        l += ls;
    }
    if (segment.log) {
        const double ratio = f1 / f0;
        if (steps > 0) freqs[0] = std::trunc(f0);
        for (std::size_t i = 1; i < steps; ++i) {
            freqs[i] = f0 > 0 ? std::trunc(f0 * std::pow(ratio, static_cast<double>(i) / n)) : 0.0;
        }
    } else {
        // Accumulated step by step, not recomputed from the start.
        const double fs = (f1 - f0) / n;
        double f = f0;
        for (std::size_t i = 0; i < steps; ++i) {
            freqs[i] = std::trunc(f);
            f += fs;
        }
    }
    if (endPoint) {
        freqs[steps] = std::trunc(f1);
        levels[steps] = std::min(l1, lmax);
    }
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

// One segment of a sweep list.
#pragma once

#include <cstdint>

namespace z5r {

// Field names are the attribute names of the profile-list file. The values
// are those of a new segment.
struct SListPoint {
    std::int32_t points = 501;     // 1 (or less) makes a single point
    double startfreq = 10000000.0;  // Hz
    double stopfreq = 20000000000.0;  // Hz
    std::int32_t linfreq = 1;      // 1 linear spacing, 0 logarithmic
    std::int32_t used = 1;         // non-zero: takes part in the list
    double startpow = 0.0;         // dBm
    double stoppow = 0.0;          // dBm

    friend bool operator==(const SListPoint&, const SListPoint&) = default;
};

}  // namespace z5r

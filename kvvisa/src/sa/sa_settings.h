// The measurement set-up the SA layer learns from the instrument's answers.
#pragma once

#include <array>
#include <cstdint>

namespace kv {

// Which settings are known.
enum ESaKnown : std::uint8_t {
    kKnownFrequencyPlan = 1,
    kKnownBandwidth = 2,
    kKnownAveraging = 4,
    kKnownDetector = 8,
    kKnownAll = 15,
};

// The eight values of a frequency plan, in their order on the wire.
struct SSaFrequencyPlan {
    std::uint64_t start = 0;
    std::uint64_t points = 0;
    std::uint64_t zeroSpanAdvance = 0;
    std::uint64_t stop = 0;
    std::uint64_t value5 = 0;
    std::uint64_t value6 = 0;
    std::uint64_t step = 0;
    std::uint64_t value8 = 0;
};

struct SSaSettings {
    std::uint8_t known = 0;  // ESaKnown bits
    std::uint16_t requestedMode = 0;
    std::uint16_t currentMode = 0;
    std::uint8_t averaging = 0;  // 2^averaging acquisitions
    SSaFrequencyPlan plan;
    std::uint32_t bandwidth = 0;  // Hz
    std::uint8_t detector = 0;

    bool Complete() const { return (known & kKnownAll) == kKnownAll; }
};

}  // namespace kv

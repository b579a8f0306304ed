// How each stored setting treats a request: a flag (any non-zero value is
// 1), a code from a fixed set (anything else is refused), or a number
// rounded to a resolution and clamped to a range. Also the power-on value.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "kvproto/instrument_map.h"

namespace z5rsim {

enum class ESettingKind { Flag, Code, Range };

struct SSettingRule {
    kvproto::EInstrumentField field;
    ESettingKind kind;
    std::int64_t powerOn;
    std::int64_t min = 0;         // Range
    std::int64_t max = 0;         // Range
    std::int64_t resolution = 1;  // Range
    std::span<const std::int64_t> codes = {};  // Code
};

// The rules of every setting the instrument stores, in one table.
std::span<const SSettingRule> SettingRules();
// The rule of a stored setting, or nullptr for fields that are computed,
// texts or transfer steps.
const SSettingRule* FindSettingRule(kvproto::EInstrumentField field);

// Wire values beyond this are not exact as doubles; requests are saturated
// to it before anything else.
inline constexpr std::int64_t kWireValueLimit = std::int64_t{1} << 53;

// A request after rounding and clamping, and whether that changed it.
struct SAdjusted {
    std::int64_t value;
    bool corrected;
};

inline std::int64_t RoundToMultiple(std::int64_t value, std::int64_t resolution) {
    if (resolution <= 1) return value;
    const std::int64_t half = resolution / 2;
    // The value is within ±kWireValueLimit, so adding half a step cannot overflow.
    const std::int64_t steps = value >= 0 ? (value + half) / resolution : -((-value + half) / resolution);
    return steps * resolution;
}

// Rounds half away from zero to a multiple of `resolution`, then clamps to
// [min, max] (both multiples of the resolution). Inline: list chunks pass
// every element through it.
inline SAdjusted RoundAndClamp(std::int64_t value, std::int64_t min, std::int64_t max,
                               std::int64_t resolution) {
    const std::int64_t bounded = std::clamp(value, -kWireValueLimit, kWireValueLimit);
    const std::int64_t adjusted = std::clamp(RoundToMultiple(bounded, resolution), min, max);
    return {adjusted, adjusted != value};
}

// 0 stays 0, anything else becomes 1 (corrected unless it was 1).
SAdjusted AsFlag(std::int64_t value);

}  // namespace z5rsim

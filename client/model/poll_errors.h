// What an entry of the driver's error queue means to the status poll.
#pragma once

#include <cstdint>

namespace z5r {

// The instrument lost the lock on the external reference (KV_EXTREF_NO_PLL).
inline constexpr std::uint32_t kExtRefLostCode = 0xFFFF801Cu;

// The VISA error range: a transfer failed, the link is gone.
struct SErrorCodeRange {
    std::uint32_t first;
    std::uint32_t last;
    constexpr bool Contains(std::uint32_t code) const { return code >= first && code <= last; }
};
inline constexpr SErrorCodeRange kLinkErrors{0xBFFF0000u, 0xBFFF00A8u};

enum class EPollError {
    LinkLost,        // the connection is given up
    ExtRefLost,      // the external reference is switched off (if it was on)
    InstrumentFault  // anything else: the output is switched off
};

constexpr EPollError ClassifyPollError(std::int32_t code) {
    const auto bits = static_cast<std::uint32_t>(code);
    if (kLinkErrors.Contains(bits)) return EPollError::LinkLost;
    if (bits == kExtRefLostCode) return EPollError::ExtRefLost;
    return EPollError::InstrumentFault;
}

}  // namespace z5r

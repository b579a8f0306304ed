// What the server counts and how it behaves, as the control channel sees
// and changes it.
#pragma once

#include <cstdint>

namespace z5rsim {

struct SServerStatus {
    std::uint64_t connections = 0;  // instrument clients served
    std::uint64_t requests = 0;     // request packets answered
    bool muted = false;             // requests are read and left unanswered
};

}  // namespace z5rsim

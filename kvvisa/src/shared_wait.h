// Waiting for a 32-bit counter in shared memory to move, and waking those
// who wait on it, in any process (a futex on the shared word).
#pragma once

#include <chrono>
#include <cstdint>

namespace kv {

// The counter's value now.
std::uint32_t LoadCounter(std::uint32_t& counter);
// Moves the counter on; call WakeWaiters afterwards, best without the lock.
void AdvanceCounter(std::uint32_t& counter);
// Returns when the counter no longer holds `seen`, when woken, or after
// `timeout`, whichever comes first; spurious returns are allowed.
void WaitWhileCounterIs(std::uint32_t& counter, std::uint32_t seen,
                        std::chrono::nanoseconds timeout);
void WakeWaiters(std::uint32_t& counter);

}  // namespace kv

#include "shared_wait.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <climits>

namespace kv {

namespace {
constexpr long kNanosecondsPerSecond = 1'000'000'000;

// Not the private futex operations: the word is shared between processes.
long Futex(std::uint32_t& word, int operation, std::uint32_t value, const timespec* timeout) {
    return syscall(SYS_futex, &word, operation, value, timeout, nullptr, 0);
}
}  // namespace

std::uint32_t LoadCounter(std::uint32_t& counter) {
    return std::atomic_ref<std::uint32_t>(counter).load(std::memory_order_acquire);
}

void AdvanceCounter(std::uint32_t& counter) {
    std::atomic_ref<std::uint32_t>(counter).fetch_add(1, std::memory_order_acq_rel);
}

void WaitWhileCounterIs(std::uint32_t& counter, std::uint32_t seen,
                        std::chrono::nanoseconds timeout) {
    if (timeout <= std::chrono::nanoseconds::zero()) return;
    const long long total = timeout.count();
    timespec relative{};
    relative.tv_sec = static_cast<time_t>(total / kNanosecondsPerSecond);
    relative.tv_nsec = static_cast<long>(total % kNanosecondsPerSecond);
    // The kernel compares the word with `seen` itself, so a change made just
    // before the call is not slept through.
    Futex(counter, FUTEX_WAIT, seen, &relative);
}

void WakeWaiters(std::uint32_t& counter) { Futex(counter, FUTEX_WAKE, INT_MAX, nullptr); }

}  // namespace kv

// Whether another process that shares a traffic block is still there.
#pragma once

#include <cstdint>

namespace kv {

// True when the process has ended: gone, or a zombie nobody has reaped yet
// (it will never run again either). A stopped process has not ended.
bool ProcessEnded(std::int32_t pid);

// This process's id without a system call per transfer (a forked child
// learns its own).
std::int32_t CurrentProcessId();

}  // namespace kv

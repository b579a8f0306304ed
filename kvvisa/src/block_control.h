// The small shared object that sits beside a traffic block: its robust,
// process-shared mutex, the count of processes holding the block, and the
// registry of attached monitors that lets a hook recognise monitors whose
// process has ended.
#pragma once

#include <pthread.h>

#include <cstdint>

namespace kv {

constexpr int kMonitorSlots = 64;

struct MonitorSlot {
    std::int32_t pid;         // 0: free
    std::uint8_t readerFlag;  // toggle value of the record this monitor consumed last
};

struct BlockControl {
    std::uint32_t ready;    // set once the mutex is initialised
    std::uint32_t holders;  // hooks and monitors holding the block
    std::uint32_t retired;  // names removed; later openers must start afresh
    pthread_mutex_t mutex;
    MonitorSlot slots[kMonitorSlots];
};

}  // namespace kv

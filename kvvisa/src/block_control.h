// The small shared object that sits beside a traffic block: its robust,
// process-shared mutex, the registry of processes holding the block, the
// registry of attached monitors, and the two counters the hook and the
// monitors wait on instead of polling.
#pragma once

#include <pthread.h>

#include <cstdint>

namespace kv {

constexpr int kMonitorSlots = 64;
constexpr int kHolderSlots = 128;

struct MonitorSlot {
    std::int32_t pid;         // 0: free
    std::uint8_t readerFlag;  // toggle value of the record this monitor consumed last
    std::uint32_t ticket;     // the monitor's holder ticket
};

// One hook or monitor holding the block.
struct HolderSlot {
    std::int32_t pid;  // 0: free
    std::uint32_t ticket;
};

struct BlockControl {
    std::uint32_t ready;    // set once the mutex is initialised
    std::uint32_t retired;  // names removed; later openers must start afresh
    std::uint32_t lastTicket;
    // Moved on with every record made current; monitors wait on it.
    std::uint32_t published;
    // Moved on whenever a monitor's debt goes (read, detached or dropped);
    // a publishing hook waits on it.
    std::uint32_t consumed;
    // Who published the current record: the hook's ticket and process.
    std::uint32_t source;
    std::int32_t publisherPid;
    pthread_mutex_t mutex;
    MonitorSlot slots[kMonitorSlots];
    HolderSlot holders[kHolderSlots];
};

}  // namespace kv

// The block of memory, shared between processes, through which the traffic
// hook of an application hands every transfer to the monitors of the same
// resource string.
#pragma once

#include <semaphore.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

constexpr std::size_t kTrafficBlockSize = 0x10000;
constexpr std::size_t kTrafficDataSize = kTrafficBlockSize - 28;
// How long an application waits for the block's mutex before it goes on
// without the block: only a holder stopped inside keeps it that long.
constexpr std::chrono::seconds kHolderPatience{5};

// The exact layout other processes rely on (little-endian).
struct TrafficBlock {
    std::uint8_t toggle;  // flips with every published record
    std::uint8_t reserved[3];
    std::uint32_t attached;       // monitors attached
    std::uint32_t length;         // bytes in the current record
    std::uint32_t pending;        // monitors that still have to read it
    std::uint32_t direction;      // 0: read from the instrument, 1: written to it
    std::uint32_t lastDirection;  // copied from direction by every monitor poll
    std::int32_t status;          // status of the transfer the record came from
    std::uint8_t data[kTrafficDataSize];
};
static_assert(sizeof(TrafficBlock) == kTrafficBlockSize);

struct BlockControl;
struct MonitorSlot;

// The names of the block's shared objects for a resource string: POSIX names
// with every "/" replaced, shortened with a hash of the whole name when the
// platform's name length would be exceeded.
std::string SharedObjectName(std::string_view resource, std::string_view suffix);

// Owns this process's view of one shared traffic block: the 64 KiB block,
// the process-shared robust mutex that guards it (kept in a small shared
// object of its own, with the registries of holders and monitors) and the
// semaphore.
//
// Every holder is registered with its process, so whoever opens a block all
// of whose holders have ended (killed without letting go) removes the old
// objects and starts with fresh ones.
class CSharedObject {
public:
    CSharedObject() = default;
    ~CSharedObject();
    CSharedObject(const CSharedObject&) = delete;
    CSharedObject& operator=(const CSharedObject&) = delete;

protected:
    // Opens or creates the block for `resource`. Returns false, after saying
    // so once on standard error, when the block cannot be had; the session
    // then works without it.
    bool AttachBlock(std::string_view resource);
    void ReleaseBlock();
    // Lets go of the block without its mutex, which someone else keeps: the
    // registry forgets this holder once it is found ended.
    void AbandonBlock();
    bool HasBlock() const { return block_ != nullptr; }
    // This holder's own number, never 0, unique among the block's holders.
    std::uint32_t Ticket() const { return ticket_; }

    // Holds the block's mutex for its lifetime; recovers a mutex left locked
    // by a process that died.
    class Lock {
    public:
        explicit Lock(CSharedObject& owner);
        // Gives up after `patience` (Held() is then false): a monitor stopped
        // while it holds the block must not stop the application with it.
        Lock(CSharedObject& owner, std::chrono::nanoseconds patience);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        bool Held() const { return held_; }

    private:
        CSharedObject& owner_;
        bool held_ = false;
    };

    // With the lock held: takes a monitor's count, debt and hold away (it
    // ended, or stopped reading). Moves the consumed counter on.
    void DetachMonitor(MonitorSlot& slot);
    // With the lock held: frees the registry entries of holders whose
    // process has ended.
    void ForgetEndedHolders();

    TrafficBlock* block_ = nullptr;
    BlockControl* control_ = nullptr;

private:
    enum class EJoin { Joined, Retry, Full, NoBlock };
    EJoin JoinLocked(bool createdControl);
    void ForgetHolder(std::uint32_t ticket);
    int HolderCount() const;
    void RetireNames();

    std::string mapName_;
    std::string controlName_;
    std::string semaphoreName_;
    sem_t* semaphore_ = SEM_FAILED;
    std::uint32_t ticket_ = 0;
};

}  // namespace kv

#include "shared_block.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "block_control.h"
#include "process_state.h"
#include "report.h"
#include "shared_wait.h"

namespace kv {

namespace {

// POSIX object names are a path component: at most NAME_MAX bytes, and
// semaphores take four more for their "sem." prefix.
constexpr std::size_t kMaxNameLength = 200;
// Tries at getting hold of a block that is not being retired meanwhile.
constexpr int kAttachAttempts = 100;

std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Waits, a bounded time, until another process has finished setting up an
// object it has just created.
template <typename Ready>
bool WaitUntil(Ready&& ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

bool SizeAtLeast(int fd, std::size_t size) {
    struct stat info {};
    return fstat(fd, &info) == 0 && static_cast<std::size_t>(info.st_size) >= size;
}

void* MapShared(int fd, std::size_t size) {
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : view;
}

bool InitialiseControl(BlockControl* control) {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) return false;
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    const bool ok = pthread_mutex_init(&control->mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    if (!ok) return false;
    std::atomic_ref<std::uint32_t>(control->ready).store(1, std::memory_order_release);
    return true;
}

// Opens the control object of a block, creating and initialising it when it
// does not exist yet. Null on failure. One that never became ready (its
// creator died while setting it up) is removed, so the next try starts afresh.
BlockControl* OpenControl(const std::string& name, bool& created) {
    created = true;
    int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0600);
    }
    if (fd < 0) return nullptr;
    if (created && ftruncate(fd, sizeof(BlockControl)) != 0) {
        close(fd);
        shm_unlink(name.c_str());
        return nullptr;
    }
    if (!created && !WaitUntil([&] { return SizeAtLeast(fd, sizeof(BlockControl)); })) {
        close(fd);
        shm_unlink(name.c_str());
        return nullptr;
    }
    auto* control = static_cast<BlockControl*>(MapShared(fd, sizeof(BlockControl)));
    close(fd);
    if (control == nullptr) return nullptr;
    const bool ready =
        created ? InitialiseControl(control) : WaitUntil([&] {
            return std::atomic_ref<std::uint32_t>(control->ready).load(std::memory_order_acquire) ==
                   1;
        });
    if (!ready) {
        munmap(control, sizeof(BlockControl));
        shm_unlink(name.c_str());
        return nullptr;
    }
    return control;
}

// Opens the traffic block; called with the control mutex held, so whoever
// creates it has filled it before anyone else can look. A block found
// without its control object (`fresh`) is left over from a holder killed
// while removing the names, and starts empty too.
TrafficBlock* OpenTrafficBlock(const std::string& name, bool fresh) {
    bool created = true;
    int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0600);
    }
    if (fd < 0) return nullptr;
    if ((created && ftruncate(fd, kTrafficBlockSize) != 0) ||
        (!created && !SizeAtLeast(fd, kTrafficBlockSize))) {
        close(fd);
        return nullptr;
    }
    auto* block = static_cast<TrafficBlock*>(MapShared(fd, kTrafficBlockSize));
    close(fd);
    if (block == nullptr) return nullptr;
    // A block just created is all zeros already; clearing it again would
    // only touch every page of it.
    if (!created && fresh) std::memset(block, 0, kTrafficBlockSize);
    if (created || fresh) block->toggle = 1;
    return block;
}

}  // namespace

std::string SharedObjectName(std::string_view resource, std::string_view suffix) {
    std::string name = "/";
    name += resource;
    name += "_v2";
    name += suffix;
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (name[i] == '/') name[i] = '_';
    }
    if (name.size() > kMaxNameLength) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx",
                      static_cast<unsigned long long>(Fnv1a(name)));
        name.resize(kMaxNameLength - 17);
        name += '~';
        name += hash;
    }
    return name;
}

CSharedObject::~CSharedObject() { ReleaseBlock(); }

bool CSharedObject::AttachBlock(std::string_view resource) {
    ReleaseBlock();
    mapName_ = SharedObjectName(resource, "_Map");
    controlName_ = SharedObjectName(resource, "_Mutex");
    semaphoreName_ = SharedObjectName(resource, "_Semaphore");

    // An opener that got hold of objects being retired (by their last holder,
    // or by an opener that found every holder ended) starts again.
    for (int attempt = 0; attempt < kAttachAttempts; ++attempt) {
        bool created = false;
        BlockControl* control = OpenControl(controlName_, created);
        if (control == nullptr) continue;
        control_ = control;
        EJoin joined = EJoin::Retry;
        {
            Lock lock(*this, kHolderPatience);
            // A holder that keeps the block (a stopped monitor) leaves this
            // session without one; the opening goes on.
            joined = lock.Held() ? JoinLocked(created) : EJoin::Full;
        }
        if (joined == EJoin::Joined) {
            // Created with the block as the original does; nothing waits on it.
            semaphore_ = sem_open(semaphoreName_.c_str(), O_CREAT, 0600, 2);
            if (semaphore_ == SEM_FAILED) ReportProblem("CreateSemaphore error");
            return true;
        }
        munmap(control, sizeof(BlockControl));
        control_ = nullptr;
        if (joined == EJoin::NoBlock) {
            ReportProblem("Failed to create file mapping");
            return false;
        }
        if (joined == EJoin::Full) break;
    }
    ReportProblem("CreateMutex error");
    return false;
}

CSharedObject::EJoin CSharedObject::JoinLocked(bool createdControl) {
    if (control_->retired != 0) return EJoin::Retry;
    if (!createdControl) {
        ForgetEndedHolders();
        if (HolderCount() == 0) {
            // Left behind by holders that were killed: nothing in it is
            // anybody's any more.
            RetireNames();
            return EJoin::Retry;
        }
    }
    HolderSlot* free = nullptr;
    for (auto& holder : control_->holders) {
        if (holder.pid == 0) {
            free = &holder;
            break;
        }
    }
    if (free == nullptr) return EJoin::Full;
    do {
        ticket_ = ++control_->lastTicket;
    } while (ticket_ == 0);
    *free = HolderSlot{static_cast<std::int32_t>(getpid()), ticket_};
    block_ = OpenTrafficBlock(mapName_, createdControl);
    if (block_ == nullptr) {
        ForgetHolder(ticket_);
        if (HolderCount() == 0) RetireNames();
        return EJoin::NoBlock;
    }
    return EJoin::Joined;
}

void CSharedObject::ForgetHolder(std::uint32_t ticket) {
    for (auto& holder : control_->holders) {
        if (holder.pid != 0 && holder.ticket == ticket) holder = HolderSlot{};
    }
}

void CSharedObject::ForgetEndedHolders() {
    for (auto& holder : control_->holders) {
        if (holder.pid != 0 && ProcessEnded(holder.pid)) holder = HolderSlot{};
    }
}

int CSharedObject::HolderCount() const {
    int count = 0;
    for (const auto& holder : control_->holders) count += holder.pid != 0 ? 1 : 0;
    return count;
}

void CSharedObject::RetireNames() {
    control_->retired = 1;
    shm_unlink(mapName_.c_str());
    shm_unlink(controlName_.c_str());
    sem_unlink(semaphoreName_.c_str());
}

void CSharedObject::DetachMonitor(MonitorSlot& slot) {
    if (block_->attached > 0) --block_->attached;
    if (block_->pending > 0 && slot.readerFlag != block_->toggle) --block_->pending;
    // It held the block too; without this the names would outlive everyone.
    ForgetHolder(slot.ticket);
    slot = MonitorSlot{};
    AdvanceCounter(control_->consumed);
}

void CSharedObject::ReleaseBlock() {
    if (control_ != nullptr && block_ != nullptr) {
        // Without the lock the registry keeps this holder until it is found
        // ended; closing does not wait on a monitor that keeps the block.
        Lock lock(*this, kHolderPatience);
        if (lock.Held()) {
            ForgetHolder(ticket_);
            ForgetEndedHolders();
            if (HolderCount() == 0 && control_->retired == 0) RetireNames();
        }
    }
    AbandonBlock();
}

void CSharedObject::AbandonBlock() {
    if (block_ != nullptr) munmap(block_, kTrafficBlockSize);
    if (control_ != nullptr) munmap(control_, sizeof(BlockControl));
    if (semaphore_ != SEM_FAILED) sem_close(semaphore_);
    block_ = nullptr;
    control_ = nullptr;
    semaphore_ = SEM_FAILED;
    ticket_ = 0;
}

namespace {

// Takes over a mutex whose previous owner died inside: the block's fields are
// plain counters and stay usable. True when the mutex is held.
bool Acquired(pthread_mutex_t& mutex, int result) {
    if (result == EOWNERDEAD) {
        pthread_mutex_consistent(&mutex);
        return true;
    }
    return result == 0;
}

}  // namespace

CSharedObject::Lock::Lock(CSharedObject& owner) : owner_(owner) {
    pthread_mutex_t& mutex = owner_.control_->mutex;
    held_ = Acquired(mutex, pthread_mutex_lock(&mutex));
}

CSharedObject::Lock::Lock(CSharedObject& owner, std::chrono::nanoseconds patience) : owner_(owner) {
    pthread_mutex_t& mutex = owner_.control_->mutex;
    // A free mutex, or one whose owner died, is had at once; the timed wait
    // is for one that somebody keeps.
    int result = pthread_mutex_trylock(&mutex);
    if (result == EBUSY) {
        // pthread_mutex_timedlock measures on the wall clock; a clock step
        // only changes how long the wait is. (Its monotonic twin is unknown to
        // the thread sanitizer, which then misreads every unlock.)
        timespec until{};
        clock_gettime(CLOCK_REALTIME, &until);
        const long long end =
            static_cast<long long>(until.tv_sec) * 1'000'000'000 + until.tv_nsec + patience.count();
        until.tv_sec = static_cast<time_t>(end / 1'000'000'000);
        until.tv_nsec = static_cast<long>(end % 1'000'000'000);
        do {
            result = pthread_mutex_timedlock(&mutex, &until);
        } while (result == EINTR);
    }
    held_ = Acquired(mutex, result);
}

CSharedObject::Lock::~Lock() {
    if (held_) pthread_mutex_unlock(&owner_.control_->mutex);
}

}  // namespace kv

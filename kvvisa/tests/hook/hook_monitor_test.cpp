// The traffic hook and monitor within one process: the application's hook
// and the monitors are separate objects meeting only through the shared
// block named after the resource string, as they do across processes.
#include <dirent.h>
#include <signal.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "session_debug.h"
#include "session_hook.h"
#include "shared_block.h"

namespace {

using Bytes = std::vector<ViByte>;

// Stands in for a transport: records what is written, answers reads from a
// queue, and reports the statuses a test asks for.
class FakeTransport : public kv::CBaseSession {
public:
    ViStatus Connect(ViConstRsrc, ViAccessMode, ViUInt32) override { return VI_SUCCESS; }
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 ret) override {
        written.insert(written.end(), buf, buf + count);
        *ret = count;
        return writeStatus;
    }
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 ret) override {
        const ViUInt32 n = std::min<ViUInt32>(count, static_cast<ViUInt32>(answer.size()));
        for (ViUInt32 i = 0; i < n; ++i) {
            buf[i] = answer.front();
            answer.pop_front();
        }
        *ret = n;
        return n == count ? VI_SUCCESS : VI_ERROR_TMO;
    }
    Bytes written;
    std::deque<ViByte> answer;
    ViStatus writeStatus = VI_SUCCESS;
};

std::string UniqueResource() {
    static int serial = 0;
    return "TCPIP::hooktest-" + std::to_string(getpid()) + "-" + std::to_string(++serial) +
           "::5025::SOCKET";
}

struct Application {
    explicit Application(const std::string& resource) {
        auto transport = std::make_unique<FakeTransport>();
        fake = transport.get();
        hook = std::make_unique<kv::CSessionHook>(std::move(transport));
        EXPECT_EQ(hook->Connect(resource.c_str(), 0, 1000), VI_SUCCESS);
    }
    ViStatus Write(const Bytes& data) {
        ViUInt32 n = 0;
        return hook->Write(data.data(), static_cast<ViUInt32>(data.size()), &n);
    }
    std::unique_ptr<kv::CSessionHook> hook;
    FakeTransport* fake = nullptr;
};

struct Monitor {
    explicit Monitor(const std::string& resource) {
        const std::string name = resource + "::HOOK";
        EXPECT_EQ(session.Connect(name.c_str(), 0, 0), VI_SUCCESS);
    }
    struct Piece {
        ViStatus status;
        Bytes data;
    };
    Piece Read(ViUInt32 count) {
        Bytes buffer(count);
        ViUInt32 got = 0;
        const ViStatus status = session.Read(buffer.data(), count, &got);
        buffer.resize(got);
        return {status, buffer};
    }
    // Reads until something arrives (bounded), skipping empty windows.
    Piece ReadSome(ViUInt32 count) {
        for (int i = 0; i < 100; ++i) {
            Piece piece = Read(count);
            if (!piece.data.empty() || piece.status != VI_ERROR_RSRC_BUSY) return piece;
        }
        return {VI_ERROR_RSRC_BUSY, {}};
    }
    ViUInt32 Direction() {
        ViUInt32 direction = 99;
        EXPECT_EQ(session.GetAttribute(ATTR_HOOK_DIRECTION, &direction), VI_SUCCESS);
        return direction;
    }
    kv::CSessionDebug session;
};

Bytes Sequence(size_t n, int seed = 0) {
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<ViByte>((i * 7 + seed) & 0xFF);
    return bytes;
}

// True when the future has not completed: the publish it stands for is
// still held up by a monitor that owes a record.
template <typename T>
bool StillWaiting(std::future<T>& f) {
    return f.wait_for(std::chrono::milliseconds(50)) == std::future_status::timeout;
}

TEST(TrafficMonitor, WaitsForTrafficThenDeliversAWriteInPiecesWithItsStatus) {
    const std::string resource = UniqueResource();
    Monitor monitor(resource);  // before the application exists
    EXPECT_EQ(monitor.Read(16).status, VI_ERROR_RSRC_BUSY);

    Application app(resource);
    app.fake->writeStatus = VI_ERROR_TMO;
    const Bytes request = Sequence(10);
    EXPECT_EQ(app.Write(request), VI_ERROR_TMO);
    EXPECT_EQ(app.fake->written, request);

    const auto a = monitor.ReadSome(4);
    const auto b = monitor.ReadSome(4);
    const auto c = monitor.ReadSome(4);
    EXPECT_EQ(a.status, VI_SUCCESS);
    EXPECT_EQ(b.status, VI_SUCCESS);
    EXPECT_EQ(c.status, VI_ERROR_TMO);  // the last piece carries the write's status
    ASSERT_EQ(a.data.size() + b.data.size() + c.data.size(), 10u);
    EXPECT_EQ(c.data.size(), 2u);
    Bytes joined = a.data;
    joined.insert(joined.end(), b.data.begin(), b.data.end());
    joined.insert(joined.end(), c.data.begin(), c.data.end());
    EXPECT_EQ(joined, request);
    EXPECT_EQ(monitor.Direction(), 1u);
    EXPECT_EQ(monitor.Read(4).status, VI_ERROR_RSRC_BUSY);  // nothing more
}

TEST(TrafficMonitor, SeesWhatWasReadWithDirectionAndShortReadStatus) {
    const std::string resource = UniqueResource();
    Monitor monitor(resource);
    Application app(resource);
    app.fake->answer = {1, 2, 3};
    ViByte buffer[8];
    ViUInt32 got = 0;
    EXPECT_EQ(app.hook->Read(buffer, 8, &got), VI_ERROR_TMO);
    EXPECT_EQ(got, 3u);

    const auto piece = monitor.ReadSome(64);
    EXPECT_EQ(piece.status, VI_ERROR_TMO);
    EXPECT_EQ(piece.data, (Bytes{1, 2, 3}));
    EXPECT_EQ(monitor.Direction(), 0u);
}

TEST(TrafficMonitor, ZeroByteRecordGivesItsStatusWithoutData) {
    const std::string resource = UniqueResource();
    Monitor monitor(resource);
    Application app(resource);
    ViByte buffer[4];
    ViUInt32 got = 0;
    EXPECT_EQ(app.hook->Read(buffer, 4, &got), VI_ERROR_TMO);  // nothing arrived
    const auto piece = monitor.Read(4);
    EXPECT_TRUE(piece.data.empty());
    EXPECT_EQ(piece.status, VI_ERROR_TMO);
}

TEST(TrafficMonitor, TransferLongerThanTheBlockArrivesWholeInConsecutiveRecords) {
    const std::string resource = UniqueResource();
    Monitor monitor(resource);
    Application app(resource);
    const Bytes big = Sequence(70000, 3);
    app.fake->writeStatus = VI_ERROR_CONN_LOST;
    auto writer = std::async(std::launch::async, [&] { return app.Write(big); });

    const auto first = monitor.ReadSome(100000);
    const auto second = monitor.ReadSome(100000);
    EXPECT_EQ(writer.get(), VI_ERROR_CONN_LOST);
    EXPECT_EQ(first.data.size(), kv::kTrafficDataSize);
    EXPECT_EQ(first.status, VI_SUCCESS);
    EXPECT_EQ(second.status, VI_ERROR_CONN_LOST);
    Bytes joined = first.data;
    joined.insert(joined.end(), second.data.begin(), second.data.end());
    EXPECT_EQ(joined, big);
}

TEST(TrafficMonitor, ApplicationWaitsUntilEveryMonitorReadTheRecord) {
    const std::string resource = UniqueResource();
    Monitor fast(resource);
    Monitor slow(resource);
    Application app(resource);
    ASSERT_EQ(app.Write(Sequence(5, 1)), VI_SUCCESS);  // nobody owed anything yet
    auto second = std::async(std::launch::async, [&] { return app.Write(Sequence(5, 2)); });

    EXPECT_EQ(fast.ReadSome(16).data, Sequence(5, 1));
    EXPECT_TRUE(StillWaiting(second));  // the slow monitor still owes the first record
    EXPECT_EQ(slow.ReadSome(16).data, Sequence(5, 1));
    EXPECT_EQ(second.get(), VI_SUCCESS);
    EXPECT_EQ(fast.ReadSome(16).data, Sequence(5, 2));
    EXPECT_EQ(slow.ReadSome(16).data, Sequence(5, 2));
}

TEST(TrafficMonitor, LateMonitorReadsThePendingRecordToo) {
    const std::string resource = UniqueResource();
    Monitor early(resource);
    Application app(resource);
    ASSERT_EQ(app.Write(Sequence(6, 4)), VI_SUCCESS);
    Monitor late(resource);  // attaches while `early` still owes the record
    auto next = std::async(std::launch::async, [&] { return app.Write(Sequence(6, 5)); });
    EXPECT_EQ(early.ReadSome(16).data, Sequence(6, 4));
    EXPECT_TRUE(StillWaiting(next));
    EXPECT_EQ(late.ReadSome(16).data, Sequence(6, 4));
    EXPECT_EQ(next.get(), VI_SUCCESS);
}

TEST(TrafficMonitor, ClosingMonitorReleasesOnlyTheDebtItStillOwed) {
    const std::string resource = UniqueResource();
    Application app(resource);
    auto reader = std::make_unique<Monitor>(resource);
    auto owing = std::make_unique<Monitor>(resource);
    ASSERT_EQ(app.Write(Sequence(3, 6)), VI_SUCCESS);
    auto next = std::async(std::launch::async, [&] { return app.Write(Sequence(3, 7)); });

    EXPECT_EQ(reader->ReadSome(16).data, Sequence(3, 6));
    reader.reset();  // had read the record: the other one still owes it
    EXPECT_TRUE(StillWaiting(next));
    owing.reset();   // never read it: closing pays its debt
    EXPECT_EQ(next.get(), VI_SUCCESS);
}

// Hosts whose names start like a layer token: only the last token of the
// monitor's string says which block it watches.
TEST(TrafficMonitor, HostNamedLikeALayerTokenStillMeetsItsApplication) {
    for (const char* host : {"HOOKLAB7", "TCSLAB", "HOOK", "lab7::HOOK"}) {
        SCOPED_TRACE(host);
        const std::string resource =
            "TCPIP::" + std::string(host) + "-" + std::to_string(getpid()) + "::5025::SOCKET";
        Monitor monitor(resource);
        Application app(resource);
        ASSERT_EQ(app.Write(Sequence(4, 8)), VI_SUCCESS);
        EXPECT_EQ(monitor.ReadSome(8).data, Sequence(4, 8));
    }
}

TEST(TrafficMonitor, AnswersOnlyItsOwnAttributeAndIgnoresWrites) {
    const std::string resource = UniqueResource();
    Monitor monitor(resource);
    EXPECT_EQ(monitor.session.SetAttribute(VI_ATTR_TMO_VALUE, 500), VI_ERROR_NSUP_ATTR);
    ViUInt32 value = 0;
    EXPECT_EQ(monitor.session.GetAttribute(VI_ATTR_TMO_VALUE, &value), VI_ERROR_NSUP_ATTR);
    const ViByte data[3] = {1, 2, 3};
    ViUInt32 written = 77;
    EXPECT_EQ(monitor.session.Write(data, 3, &written), VI_SUCCESS);
    EXPECT_EQ(written, 77u);  // untouched
    EXPECT_EQ(monitor.session.Clear(), VI_SUCCESS);
}

TEST(TrafficMonitor, PrintfThroughTheHookIsPublished) {
    const std::string resource = UniqueResource();
    Monitor monitor(resource);
    Application app(resource);
    va_list none{};
    EXPECT_EQ(app.hook->Printf("*IDN?", none), VI_SUCCESS);
    EXPECT_EQ(monitor.ReadSome(64).data, (Bytes{'*', 'I', 'D', 'N', '?'}));
}

bool SharedObjectsExist(const std::string& resource) {
    const std::string map = kv::SharedObjectName(resource, "_Map").substr(1);
    const std::string mutex = kv::SharedObjectName(resource, "_Mutex").substr(1);
    DIR* dir = opendir("/dev/shm");
    if (dir == nullptr) return false;
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == map || name == mutex) found = true;
    }
    closedir(dir);
    return found;
}

TEST(TrafficBlock, NamesAreLegalAndTheLastHolderRemovesThem) {
    EXPECT_EQ(kv::SharedObjectName("TCPIP::a/b::1::SOCKET", "_Map"),
              "/TCPIP::a_b::1::SOCKET_v2_Map");
    const std::string longName = "TCPIP::" + std::string(300, 'h') + "::1::SOCKET";
    const std::string shortened = kv::SharedObjectName(longName, "_Map");
    EXPECT_LE(shortened.size(), 200u);
    EXPECT_NE(shortened, kv::SharedObjectName(longName + "x", "_Map"));

    // Even with a shortened name the hook and the monitor meet.
    {
        Monitor monitor(longName);
        Application app(longName);
        ASSERT_EQ(app.Write(Sequence(4, 9)), VI_SUCCESS);
        EXPECT_EQ(monitor.ReadSome(8).data, Sequence(4, 9));
        EXPECT_TRUE(SharedObjectsExist(longName));
    }
    EXPECT_FALSE(SharedObjectsExist(longName));
}

// Reaches the block's lock from outside, to leave it held by a dying process.
class BlockHolder : public kv::CSharedObject {
public:
    bool Open(const std::string& resource) { return AttachBlock(resource); }
    [[noreturn]] void LockAndDie() {
        new Lock(*this);
        _exit(0);
    }
    // Leaves a record owed by a monitor nobody knows of, as a process killed
    // in the middle would, and dies without letting go of anything.
    [[noreturn]] void LeaveDebtAndDie() {
        {
            Lock lock(*this);
            block_->attached = 1;
            block_->pending = 1;
        }
        raise(SIGKILL);
        _exit(1);
    }
    std::uint32_t Attached() {
        Lock lock(*this);
        return block_->attached;
    }
};

// Lets a holder of the block die in a child process, the way `dying` says;
// the child's wait status.
int DieHoldingTheBlock(const std::string& resource, void (BlockHolder::*dying)()) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        BlockHolder holder;
        if (holder.Open(resource)) (holder.*dying)();
        _exit(1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

TEST(TrafficBlock, BlockLeftByKilledHoldersIsReplacedByTheNextOpener) {
    const std::string resource = UniqueResource();
    const int status = DieHoldingTheBlock(resource, &BlockHolder::LeaveDebtAndDie);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(SharedObjectsExist(resource));

    {
        BlockHolder peek;
        ASSERT_TRUE(peek.Open(resource));
        EXPECT_EQ(peek.Attached(), 0u);  // a fresh block, not the dead one's
        Monitor monitor(resource);
        Application app(resource);
        ASSERT_EQ(app.Write(Sequence(5, 3)), VI_SUCCESS);
        EXPECT_EQ(monitor.ReadSome(8).data, Sequence(5, 3));
    }
    // The last live holder removed the names; nothing is left in /dev/shm.
    EXPECT_FALSE(SharedObjectsExist(resource));
}

TEST(TrafficBlock, MutexLeftLockedByADeadProcessIsRecovered) {
    const std::string resource = UniqueResource();
    Monitor monitor(resource);
    const int status = DieHoldingTheBlock(resource, &BlockHolder::LockAndDie);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    Application app(resource);
    auto writer = std::async(std::launch::async, [&] { return app.Write(Sequence(7, 2)); });
    ASSERT_EQ(writer.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(writer.get(), VI_SUCCESS);
    EXPECT_EQ(monitor.ReadSome(16).data, Sequence(7, 2));
}

}  // namespace

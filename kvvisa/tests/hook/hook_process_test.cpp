// The traffic hook and monitor across processes: the application is this
// test, talking to a scripted instrument over TCP on 127.0.0.1; monitors are
// separate programs using the library's C interface.
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "session_hook.h"
#include "shared_block.h"
#include "support/child_process.h"
#include "support/scripted_peer.h"

namespace {

using Bytes = std::vector<ViByte>;

struct Piece {
    unsigned count = 0;
    ViStatus status = 0;
    unsigned direction = 0;
    Bytes data;
};

Piece ParsePiece(const std::string& line) {
    std::istringstream in(line);
    Piece piece;
    long long time = 0;
    std::string hex;
    unsigned status = 0;
    in >> piece.count >> std::hex >> status >> std::dec >> piece.direction >> time >> hex;
    piece.status = static_cast<ViStatus>(status);
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        piece.data.push_back(static_cast<ViByte>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return piece;
}

std::unique_ptr<kvtest::ChildProcess> StartMonitor(const std::string& resource, size_t bytes,
                                                   unsigned readSize) {
    auto child = std::make_unique<kvtest::ChildProcess>(std::vector<std::string>{
        MONITOR_PROBE_PATH, resource, std::to_string(bytes), std::to_string(readSize)});
    const auto ready = child->ReadLine();
    EXPECT_EQ(ready.value_or("<nothing>"), "ready");
    return child;
}

// The instrument: answers every 16-byte request with 22 bytes; it hangs up
// when no request comes for `idleMs`.
kvtest::ScriptedPeer::Script Answering(int idleMs = 5000) {
    return [idleMs](int fd) {
        for (;;) {
            ViByte request[16];
            if (!kvtest::ReadExactly(fd, request, sizeof request, idleMs)) return;
            ViByte answer[22];
            for (int i = 0; i < 22; ++i) answer[i] = static_cast<ViByte>(request[0] + i);
            kvtest::WriteAll(fd, answer, sizeof answer);
        }
    };
}

struct Session {
    explicit Session(const std::string& resource) {
        EXPECT_EQ(kv::ResourceManager().Open(resource.c_str(), 0, 2000, &vi), VI_SUCCESS);
        session = kv::ResourceManager().Find(vi);
    }
    ~Session() { kv::ResourceManager().Close(vi); }
    ViStatus Exchange(ViByte first, Bytes* answer) {
        Bytes request(16, 0);
        request[0] = first;
        ViUInt32 n = 0;
        ViStatus status = session->Write(request.data(), 16, &n);
        if (status != VI_SUCCESS) return status;
        answer->assign(22, 0);
        return session->Read(answer->data(), 22, &n);
    }
    ViSession vi = 0;
    kv::ISession* session = nullptr;
};

TEST(TrafficMonitorProcess, AnotherProcessSeesEveryTransferInOrderWithDirections) {
    kvtest::ScriptedPeer instrument(Answering());
    const std::string resource = instrument.Resource();
    auto monitor = StartMonitor(resource, 16 + 22, 4);

    Session app(resource);
    Bytes answer;
    ASSERT_EQ(app.Exchange(0x40, &answer), VI_SUCCESS);

    Bytes written, read;
    std::vector<unsigned> readSizes;
    for (int i = 0; i < 10; ++i) {
        const auto line = monitor->ReadLine();
        ASSERT_TRUE(line.has_value()) << "monitor gave up after " << i << " pieces";
        const Piece piece = ParsePiece(*line);
        EXPECT_EQ(piece.status, VI_SUCCESS);
        auto& target = piece.direction == 1 ? written : read;
        if (piece.direction == 0) readSizes.push_back(piece.count);
        // All of the request comes before any of the answer.
        if (piece.direction == 1) {
            EXPECT_TRUE(read.empty());
        }
        target.insert(target.end(), piece.data.begin(), piece.data.end());
    }
    EXPECT_EQ(monitor->Wait(), 0);
    Bytes request(16, 0);
    request[0] = 0x40;
    EXPECT_EQ(written, request);
    EXPECT_EQ(read, answer);
    EXPECT_EQ(readSizes, (std::vector<unsigned>{4, 4, 4, 4, 4, 2}));
}

TEST(TrafficMonitorProcess, TwoMonitorProcessesEachSeeTheWholeSequence) {
    kvtest::ScriptedPeer instrument(Answering());
    const std::string resource = instrument.Resource();
    auto first = StartMonitor(resource, 3 * 38, 64);
    auto second = StartMonitor(resource, 3 * 38, 7);

    Session app(resource);
    Bytes expected;
    for (ViByte k = 1; k <= 3; ++k) {
        Bytes answer;
        ASSERT_EQ(app.Exchange(k, &answer), VI_SUCCESS);
        Bytes request(16, 0);
        request[0] = k;
        expected.insert(expected.end(), request.begin(), request.end());
        expected.insert(expected.end(), answer.begin(), answer.end());
    }
    for (auto* monitor : {first.get(), second.get()}) {
        Bytes seen;
        while (seen.size() < expected.size()) {
            const auto line = monitor->ReadLine();
            ASSERT_TRUE(line.has_value());
            const Piece piece = ParsePiece(*line);
            seen.insert(seen.end(), piece.data.begin(), piece.data.end());
        }
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(monitor->Wait(), 0);
    }
}

// Reads the block's counters from outside.
class BlockPeek : public kv::CSharedObject {
public:
    bool Open(const std::string& resource) { return AttachBlock(resource); }
    std::uint32_t Attached() {
        Lock lock(*this);
        return block_->attached;
    }
    // Whether nobody keeps the block's mutex now.
    bool Free() {
        Lock lock(*this, std::chrono::milliseconds(200));
        return lock.Held();
    }
    // Keeps the mutex, as a monitor stopped inside it would.
    std::unique_ptr<Lock> Keep() { return std::make_unique<Lock>(*this); }
};

// Whether the process is stopped by a signal (state T in /proc).
bool IsStopped(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto end = line.rfind(')');
    return end != std::string::npos && line.size() > end + 2 && line[end + 2] == 'T';
}

TEST(TrafficMonitorProcess, MonitorKilledWhileAttachedDoesNotHoldTheApplication) {
    kvtest::ScriptedPeer instrument(Answering());
    const std::string resource = instrument.Resource();
    auto monitor = StartMonitor(resource, 1000, 4);
    BlockPeek peek;
    ASSERT_TRUE(peek.Open(resource));
    ASSERT_EQ(peek.Attached(), 1u);
    monitor->Kill(SIGKILL);
    monitor->Wait();

    Session app(resource);
    auto exchanges = std::async(std::launch::async, [&] {
        Bytes answer;
        ViStatus status = VI_SUCCESS;
        for (ViByte k = 0; k < 3 && status == VI_SUCCESS; ++k) status = app.Exchange(k, &answer);
        return status;
    });
    ASSERT_EQ(exchanges.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(exchanges.get(), VI_SUCCESS);
    // The dead monitor was recognised as such, not merely waited out.
    EXPECT_EQ(peek.Attached(), 0u);
}

// The application in a process of its own (app_probe).
class OtherApplication {
public:
    explicit OtherApplication(const std::string& resource)
        : child_({APP_PROBE_PATH, resource}, kvtest::ChildOptions{true, false, {}}) {
        EXPECT_EQ(child_.ReadLine().value_or("<nothing>"), "ready");
    }
    // Sends one command; its answer line, or "<nothing>" after `timeoutMs`.
    std::string Do(const std::string& command, int timeoutMs = 10000) {
        Send(command);
        return Answer(timeoutMs);
    }
    void Send(const std::string& command) { child_.WriteInput(command + "\n"); }
    std::string Answer(int timeoutMs = 10000) {
        return child_.ReadLine(timeoutMs).value_or("<nothing>");
    }
    void KillAndReap() {
        child_.Kill(SIGKILL);
        child_.Wait();
    }

private:
    kvtest::ChildProcess child_;
};

// A monitor that takes no more records: the application must let it go
// after one bounded wait at most, and then run at full speed.
TEST(TrafficMonitorProcess, MonitorThatStopsReadingIsDetachedAfterOneWait) {
    struct Case {
        const char* name;
        bool stop;  // SIGSTOP; otherwise killed and left unreaped (a zombie)
    };
    for (const Case& c : {Case{"stopped", true}, Case{"zombie", false}}) {
        SCOPED_TRACE(c.name);
        kvtest::ScriptedPeer instrument(Answering());
        const std::string resource = instrument.Resource();
        auto monitor = StartMonitor(resource, 1u << 30, 64);
        OtherApplication app(resource);
        BlockPeek peek;
        ASSERT_TRUE(peek.Open(resource));
        ASSERT_EQ(app.Do("x 1"), "x 0");  // the monitor reads while it can
        ASSERT_EQ(peek.Attached(), 1u);

        if (c.stop) {
            // Stopped where it holds nothing; one stopped inside the block's
            // mutex is the next test's case.
            for (;;) {
                monitor->Kill(SIGSTOP);
                for (int wait = 0; wait < 1000 && !IsStopped(monitor->Pid()); ++wait) usleep(1000);
                ASSERT_TRUE(IsStopped(monitor->Pid()));
                if (peek.Free()) break;
                monitor->Kill(SIGCONT);
            }
        } else {
            monitor->Kill(SIGKILL);
        }
        // Ten records; each would wait the whole bound if the monitor stayed.
        EXPECT_EQ(app.Do("x 5", 20000), "x 0");
        EXPECT_EQ(peek.Attached(), 0u);
        if (c.stop) monitor->Kill(SIGCONT);
        monitor->Kill(SIGKILL);
        monitor->Wait();
    }
}

// A monitor stopped while it holds the block's mutex: the application waits a
// while, then goes on without the block, and its transfers all succeed.
TEST(TrafficMonitorProcess, AMutexKeptByAStoppedMonitorDoesNotStopTheApplication) {
    // Patient: the application's wait for the mutex falls between two requests.
    kvtest::ScriptedPeer instrument(Answering(60000));
    const std::string resource = instrument.Resource();
    OtherApplication app(resource);
    BlockPeek keeper;
    ASSERT_TRUE(keeper.Open(resource));
    const auto kept = keeper.Keep();
    EXPECT_EQ(app.Do("x 3", 30000), "x 0");
    EXPECT_EQ(app.Do("x 2", 30000), "x 0");  // without the block now: no wait at all
}

TEST(TrafficMonitorProcess, RecordOfADeadApplicationDoesNotHoldTheNextOne) {
    kvtest::ScriptedPeer instrument([](int fd) { kvtest::WaitForClose(fd, 30000); });
    const std::string resource = instrument.Resource();
    ViSession vi = VI_NULL;
    ASSERT_EQ(kv::ResourceManager().Open((resource + "::HOOK").c_str(), 0, 0, &vi), VI_SUCCESS);
    kv::ISession& monitor = *kv::ResourceManager().Find(vi);
    Bytes piece(4096);
    ViUInt32 got = 0;
    {
        OtherApplication dying(resource);
        ASSERT_EQ(dying.Do("f 60000 1"), "f 0");
        // Part of its record taken, then the application is gone.
        ASSERT_EQ(monitor.Read(piece.data(), 4096, &got), VI_SUCCESS);
        ASSERT_EQ(got, 4096u);
        dying.KillAndReap();
    }
    OtherApplication next(resource);
    next.Send("w 0102030405");
    // The monitor goes on with the new application's first record, which
    // does not wait for the rest of the dead one's to be taken.
    Bytes seen;
    for (int i = 0; i < 50 && seen.empty(); ++i) {
        monitor.Read(piece.data(), 4096, &got);
        seen.assign(piece.begin(), piece.begin() + got);
    }
    EXPECT_EQ(seen, (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(next.Answer(), "w 0");
    EXPECT_EQ(kv::ResourceManager().Close(vi), VI_SUCCESS);
}

}  // namespace

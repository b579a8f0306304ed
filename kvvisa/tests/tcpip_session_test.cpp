// The TCP socket transport against scripted instruments on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "res_mgr.h"
#include "session_tcpip.h"
#include "support/namespace_requirement.h"
#include "support/scripted_peer.h"

namespace {

using kvtest::ReadExactly;
using kvtest::ScriptedPeer;
using kvtest::WaitForClose;
using kvtest::WriteAll;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

constexpr ViUInt32 kShortTimeoutMs = 200;
constexpr ViUInt32 kPatientTimeoutMs = 5000;

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::unique_ptr<kv::CSessionTCPIP> Connected(const std::string& resource, ViUInt32 timeoutMs) {
    auto session = std::make_unique<kv::CSessionTCPIP>();
    EXPECT_EQ(session->SetAttribute(VI_ATTR_TMO_VALUE, timeoutMs), VI_SUCCESS);
    EXPECT_EQ(session->Connect(resource.c_str(), VI_NULL, 0), VI_SUCCESS);
    return session;
}

struct Transfer {
    ViStatus status;
    Bytes data;  // the bytes returned
};

Transfer ReadFrom(kv::ISession& session, ViUInt32 count) {
    Bytes buffer(count + 1, 0xEE);
    ViUInt32 got = 0xDEAD;
    const ViStatus status = session.Read(buffer.data(), count, &got);
    EXPECT_LE(got, count);
    buffer.resize(std::min(got, count));
    return {status, buffer};
}

ViStatus WriteTo(kv::ISession& session, const Bytes& data, ViUInt32* sent = nullptr) {
    ViUInt32 ignored = 0;
    return session.Write(data.data(), static_cast<ViUInt32>(data.size()), sent ? sent : &ignored);
}

// Lets a test release a waiting peer script.
class Gate {
public:
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool Wait(int timeoutMs = 10000) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

void Echo(int fd, std::size_t count) {
    Bytes data(count);
    if (ReadExactly(fd, data.data(), count)) WriteAll(fd, data.data(), count);
}

// Closing with a zero linger time resets the connection instead of ending it.
void ResetConnection(int fd) {
    const linger abort{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
}

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::string Resource(const std::string& host, long long port) {
    return "TCPIP::" + host + "::" + std::to_string(port) + "::SOCKET";
}

// A port on 127.0.0.1 that is bound but does not listen: connects are refused.
class RefusingPort {
public:
    RefusingPort() {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~RefusingPort() { close(fd_); }
    std::uint16_t Port() const { return port_; }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

// ---------------------------------------------------------------- transfers

TEST(TcpipTransfer, ReadDeliversExactCountsAssembledFromPartialSends) {
    ScriptedPeer peer([](int fd) {
        // A slow instrument: the answer dribbles out in pieces.
        for (std::string_view piece : {"abc", "defgh", "ijklmnop"}) {
            WriteAll(fd, piece.data(), piece.size());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        WriteAll(fd, "0123456789", 10);
        WaitForClose(fd);
    });
    auto session = Connected(peer.Resource(), kPatientTimeoutMs);

    const Transfer whole = ReadFrom(*session, 16);
    EXPECT_EQ(whole.status, VI_SUCCESS);
    EXPECT_EQ(whole.data, BytesOf("abcdefghijklmnop"));

    // A read takes exactly what it asks for and leaves the rest.
    const Transfer head = ReadFrom(*session, 4);
    const Transfer tail = ReadFrom(*session, 6);
    EXPECT_EQ(head.status, VI_SUCCESS);
    EXPECT_EQ(head.data, BytesOf("0123"));
    EXPECT_EQ(tail.status, VI_SUCCESS);
    EXPECT_EQ(tail.data, BytesOf("456789"));
}

// A small read takes what else has arrived along with it; those bytes come out
// in order, also to a read that needs more from the socket, and never from a
// connection that was cleared.
TEST(TcpipTransfer, BytesReceivedAheadComeOutInOrderAndGoWithTheirConnection) {
    Gate secondPiece;
    ScriptedPeer peer(std::vector<ScriptedPeer::Script>{[&secondPiece](int fd) {
                                                            WriteAll(fd, "abcdef", 6);
                                                            secondPiece.Wait();
                                                            WriteAll(fd, "ghij", 4);
                                                            WriteAll(fd, "stale", 5);
                                                            WaitForClose(fd);
                                                        },
                                                        [](int fd) {
                                                            Echo(fd, 4);
                                                            WaitForClose(fd);
                                                        }});
    auto session = Connected(peer.Resource(), kPatientTimeoutMs);

    EXPECT_EQ(ReadFrom(*session, 2).data, BytesOf("ab"));
    secondPiece.Open();
    const Transfer across = ReadFrom(*session, 8);
    EXPECT_EQ(across.status, VI_SUCCESS);
    EXPECT_EQ(across.data, BytesOf("cdefghij"));
    EXPECT_EQ(ReadFrom(*session, 1).data, BytesOf("s"));  // "tale" may be held ahead now

    EXPECT_EQ(session->Clear(), VI_SUCCESS);
    EXPECT_EQ(WriteTo(*session, BytesOf("new!")), VI_SUCCESS);
    EXPECT_EQ(ReadFrom(*session, 4).data, BytesOf("new!"));
}

TEST(TcpipTransfer, ShortReadTimesOutWithTheBytesThatArrivedAndKeepsTheConnection) {
    ScriptedPeer peer([](int fd) {
        WriteAll(fd, "0123456789", 10);
        char ping[4];
        if (!ReadExactly(fd, ping, sizeof ping)) return;
        WriteAll(fd, "ABCDEF", 6);
        WaitForClose(fd);
    });
    auto session = Connected(peer.Resource(), kShortTimeoutMs);

    const Transfer partial = ReadFrom(*session, 16);
    EXPECT_EQ(partial.status, VI_ERROR_TMO);
    EXPECT_EQ(partial.data, BytesOf("0123456789"));

    EXPECT_EQ(WriteTo(*session, BytesOf("ping")), VI_SUCCESS);
    const Transfer rest = ReadFrom(*session, 6);
    EXPECT_EQ(rest.status, VI_SUCCESS);
    EXPECT_EQ(rest.data, BytesOf("ABCDEF"));  // nothing repeated, nothing lost
    EXPECT_EQ(peer.Accepted(), 1);
}

TEST(TcpipTransfer, ZeroCountsMoveNothingAndLargeWritesArriveExactly) {
    const Bytes big = Pattern(1 << 20);
    ScriptedPeer peer([&big](int fd) {
        WriteAll(fd, "xy", 2);
        Bytes received(big.size());
        const bool complete = ReadExactly(fd, received.data(), received.size());
        const std::uint8_t verdict = complete && received == big ? 1 : 0;
        WriteAll(fd, &verdict, 1);
        WaitForClose(fd);
    });
    auto session = Connected(peer.Resource(), kPatientTimeoutMs);

    ViUInt32 count = 0xDEAD;
    EXPECT_EQ(session->Read(nullptr, 0, &count), VI_SUCCESS);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(session->Write(nullptr, 0, &count), VI_SUCCESS);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(ReadFrom(*session, 2).data, BytesOf("xy"));

    ViUInt32 sent = 0;
    EXPECT_EQ(WriteTo(*session, big, &sent), VI_SUCCESS);
    EXPECT_EQ(sent, big.size());
    const Transfer verdict = ReadFrom(*session, 1);
    EXPECT_EQ(verdict.status, VI_SUCCESS);
    EXPECT_EQ(verdict.data, Bytes{1}) << "the peer did not receive exactly the bytes written";
}

TEST(TcpipTransfer, WriteToAPeerThatDoesNotReadTimesOutWithTheBytesThatLeft) {
    const Bytes big = Pattern(16 << 20);  // far beyond both sockets' buffers
    Gate written;
    Bytes received;
    ScriptedPeer peer([&](int fd) {
        if (!written.Wait()) return;
        std::uint8_t chunk[65536];
        for (;;) {
            const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
            if (got <= 0) break;
            received.insert(received.end(), chunk, chunk + got);
        }
    });
    auto session = Connected(peer.Resource(), kShortTimeoutMs);

    ViUInt32 sent = 0;
    EXPECT_EQ(WriteTo(*session, big, &sent), VI_ERROR_TMO);
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, big.size());

    // Whatever the write reported as gone reaches the peer, and nothing more.
    EXPECT_EQ(session->Disconnect(), VI_SUCCESS);
    written.Open();
    ASSERT_TRUE(peer.WaitFinished(1, 10000));
    ASSERT_EQ(received.size(), sent);
    EXPECT_TRUE(std::equal(received.begin(), received.end(), big.begin()));
}

// ------------------------------------------------------- losing the link

TEST(TcpipLink, WriteAfterThePeerClosedReconnects) {
    ScriptedPeer peer(std::vector<ScriptedPeer::Script>{
        [](int fd) { Echo(fd, 4); },  // answers once, then hangs up
        [](int fd) {
            Echo(fd, 4);
            WaitForClose(fd);
        }});
    auto session = Connected(peer.Resource(), kPatientTimeoutMs);
    EXPECT_EQ(WriteTo(*session, BytesOf("one!")), VI_SUCCESS);
    EXPECT_EQ(ReadFrom(*session, 4).data, BytesOf("one!"));
    ASSERT_TRUE(peer.WaitFinished(1));

    ViUInt32 sent = 0;
    EXPECT_EQ(WriteTo(*session, BytesOf("two!"), &sent), VI_SUCCESS);
    EXPECT_EQ(sent, 4u);
    EXPECT_EQ(ReadFrom(*session, 4).data, BytesOf("two!"));
    EXPECT_EQ(peer.Accepted(), 2);
}

TEST(TcpipLink, PeerClosingDuringAReadIsATimeoutThatDoesNotSpin) {
    ScriptedPeer peer(std::vector<ScriptedPeer::Script>{[](int fd) { WriteAll(fd, "12345", 5); },
                                                        [](int fd) {
                                                            WriteAll(fd, "again", 5);
                                                            WaitForClose(fd);
                                                        }});
    auto session = Connected(peer.Resource(), kShortTimeoutMs);

    const double cpuBefore = ThreadCpuMs();
    const Transfer partial = ReadFrom(*session, 16);
    const double cpuUsed = ThreadCpuMs() - cpuBefore;
    EXPECT_EQ(partial.status, VI_ERROR_TMO);
    EXPECT_EQ(partial.data, BytesOf("12345"));
    // Spinning on the closed socket would burn the whole time-out.
    EXPECT_LT(cpuUsed, kShortTimeoutMs / 2.0);

    const Transfer next = ReadFrom(*session, 5);
    EXPECT_EQ(next.status, VI_SUCCESS);
    EXPECT_EQ(next.data, BytesOf("again"));
    EXPECT_EQ(peer.Accepted(), 2);
}

TEST(TcpipLink, ResetDuringAWriteIsConnectionLostAndTheNextTransferReconnects) {
    ScriptedPeer peer(std::vector<ScriptedPeer::Script>{[](int fd) {
                                                            std::uint8_t some[1000];
                                                            ReadExactly(fd, some, sizeof some);
                                                            ResetConnection(fd);
                                                        },
                                                        [](int fd) {
                                                            Echo(fd, 4);
                                                            WaitForClose(fd);
                                                        }});
    auto session = Connected(peer.Resource(), kPatientTimeoutMs);

    const Bytes big = Pattern(16 << 20);
    ViUInt32 sent = 0;
    EXPECT_EQ(WriteTo(*session, big, &sent), VI_ERROR_CONN_LOST);
    EXPECT_GE(sent, 1000u);
    EXPECT_LT(sent, big.size());

    EXPECT_EQ(WriteTo(*session, BytesOf("next")), VI_SUCCESS);
    EXPECT_EQ(ReadFrom(*session, 4).data, BytesOf("next"));
    EXPECT_EQ(peer.Accepted(), 2);
}

TEST(TcpipLink, ResetDuringAReadIsConnectionLostWithTheBytesSoFar) {
    ScriptedPeer peer([](int fd) {
        char go[2];
        if (!ReadExactly(fd, go, sizeof go)) return;
        WriteAll(fd, "abc", 3);
        // The client is inside its read by now; the reset must hit it there.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ResetConnection(fd);
    });
    auto session = Connected(peer.Resource(), kPatientTimeoutMs);
    EXPECT_EQ(WriteTo(*session, BytesOf("go")), VI_SUCCESS);

    const Transfer partial = ReadFrom(*session, 16);
    EXPECT_EQ(partial.status, VI_ERROR_CONN_LOST);
    EXPECT_EQ(partial.data, BytesOf("abc"));
}

TEST(TcpipLink, ReconnectToAPeerThatStoppedListeningFailsPromptlyThenRecovers) {
    ScriptedPeer peer(std::vector<ScriptedPeer::Script>{[](int) {},
                                                        [](int fd) {
                                                            Echo(fd, 4);
                                                            WaitForClose(fd);
                                                        }});
    constexpr ViUInt32 kLongTimeoutMs = 10000;
    auto session = Connected(peer.Resource(), kLongTimeoutMs);
    ASSERT_TRUE(peer.WaitFinished(1));
    peer.StopListening();

    const auto start = Clock::now();
    ViUInt32 sent = 0xDEAD;
    EXPECT_EQ(WriteTo(*session, BytesOf("data"), &sent), VI_ERROR_TMO);
    EXPECT_EQ(sent, 0u);
    // A refusal is known at once; only an unanswered connect waits it out.
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kLongTimeoutMs / 2));

    peer.ResumeListening();
    EXPECT_EQ(WriteTo(*session, BytesOf("data")), VI_SUCCESS);
    EXPECT_EQ(ReadFrom(*session, 4).data, BytesOf("data"));
}

TEST(TcpipLink, ClearAndDisconnectDropTheConnectionAndTransfersReconnect) {
    std::atomic<int> closedSeen{0};
    const ScriptedPeer::Script echoUntilClosed = [&closedSeen](int fd) {
        Echo(fd, 4);
        if (WaitForClose(fd)) ++closedSeen;
    };
    ScriptedPeer peer(std::vector<ScriptedPeer::Script>{[&closedSeen](int fd) {
                                                            if (WaitForClose(fd)) ++closedSeen;
                                                        },
                                                        echoUntilClosed});
    auto session = Connected(peer.Resource(), kPatientTimeoutMs);

    EXPECT_EQ(session->Clear(), VI_SUCCESS);
    ASSERT_TRUE(peer.WaitFinished(1));
    EXPECT_EQ(WriteTo(*session, BytesOf("clr!")), VI_SUCCESS);
    EXPECT_EQ(ReadFrom(*session, 4).data, BytesOf("clr!"));
    EXPECT_EQ(peer.Accepted(), 2);

    EXPECT_EQ(session->Disconnect(), VI_SUCCESS);
    EXPECT_EQ(session->Disconnect(), VI_SUCCESS);
    ASSERT_TRUE(peer.WaitFinished(2));
    EXPECT_EQ(WriteTo(*session, BytesOf("dis!")), VI_SUCCESS);
    EXPECT_EQ(ReadFrom(*session, 4).data, BytesOf("dis!"));
    EXPECT_EQ(peer.Accepted(), 3);

    session.reset();  // destruction hangs up too
    ASSERT_TRUE(peer.WaitFinished(3));
    EXPECT_EQ(closedSeen.load(), 3);
}

// --------------------------------------------------------------- connecting

TEST(TcpipConnect, RefusedOrImpossiblePortsAreResourceNotFound) {
    RefusingPort refusing;
    ASSERT_NE(refusing.Port(), 0);
    kv::CSessionTCPIP session;
    EXPECT_EQ(session.Connect(Resource("127.0.0.1", refusing.Port()).c_str(), VI_NULL, 0),
              VI_ERROR_RSRC_NFOUND);

    // Out-of-range numbers must not wrap round onto a port that listens.
    ScriptedPeer peer([](int) {});
    for (const long long port : {0LL, -1LL, 65536LL + peer.Port(), 4294967296LL + peer.Port()}) {
        kv::CSessionTCPIP outOfRange;
        EXPECT_EQ(outOfRange.Connect(Resource("127.0.0.1", port).c_str(), VI_NULL, 0),
                  VI_ERROR_RSRC_NFOUND)
            << "port " << port;
    }
    // 2^64 + the listening port, 20 digits: no 64-bit wrap either.
    const std::string twentyDigits = "18446744073709" + std::to_string(551616 + peer.Port());
    kv::CSessionTCPIP wrapped;
    EXPECT_EQ(wrapped.Connect(("TCPIP::127.0.0.1::" + twentyDigits + "::SOCKET").c_str(), VI_NULL, 0),
              VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(peer.Accepted(), 0);
}

TEST(TcpipConnect, ListenerThatDoesNotAnswerTimesOut) {
    // A listener whose accept queue is full drops further connection
    // requests, so a connect to it stays unanswered.
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const int filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    kv::CSessionTCPIP session;
    ASSERT_EQ(session.SetAttribute(VI_ATTR_TMO_VALUE, kShortTimeoutMs), VI_SUCCESS);
    const auto start = Clock::now();
    EXPECT_EQ(session.Connect(Resource("127.0.0.1", ntohs(address.sin_port)).c_str(), VI_NULL, 0),
              VI_ERROR_TMO);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(kShortTimeoutMs));
    close(filler);
    close(listener);
}

// Runs `body` in a child process inside a network namespace of its own, so a
// name lookup cannot reach any name server. The child's result, or -1.
int InOwnNetworkNamespace(int (*body)()) {
    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNET) != 0) _exit(77);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(TcpipConnect, UnresolvableHostIsATimeoutAndOpensNothing) {
    const int result = InOwnNetworkNamespace([] {
        kv::CResMgr& manager = kv::ResourceManager();
        const std::size_t before = manager.SessionCount();
        ViSession vi = 0xDEAD;
        const ViStatus status =
            manager.Open("TCPIP::kv-no-such-instrument.invalid::5025::SOCKET", VI_NULL, 0, &vi);
        if (status != VI_ERROR_TMO) return 1;
        if (manager.SessionCount() != before) return 2;
        return 0;
    });
    KV_REQUIRE_NAMESPACE_TOOLS(result == 77 ? "no permission to create a network namespace" : "");
    EXPECT_EQ(result, 0) << "1: wrong status, 2: a session was entered, -1: child failed";
}

// --------------------------------------------------------------- attributes

TEST(TcpipAttributes, OnlyTheTimeoutValueIsKeptAndItLimitsWaits) {
    ScriptedPeer peer([](int fd) { WaitForClose(fd); });
    kv::CSessionTCPIP session;
    ViUInt32 value[2] = {0, 0xA5A5A5A5};
    EXPECT_EQ(session.GetAttribute(VI_ATTR_TMO_VALUE, value), VI_SUCCESS);
    EXPECT_EQ(value[0], 1000u);  // the connect time-out before any change

    ASSERT_EQ(session.SetAttribute(VI_ATTR_TMO_VALUE, 500), VI_SUCCESS);
    for (const ViAttr other : {ViAttr{VI_ATTR_ASRL_BAUD}, ViAttr{0x3FFF00E8}}) {
        EXPECT_EQ(session.SetAttribute(other, 9600), VI_ERROR_NSUP_ATTR);
        EXPECT_EQ(session.GetAttribute(other, value), VI_ERROR_NSUP_ATTR);
    }
    EXPECT_EQ(session.GetAttribute(VI_ATTR_TMO_VALUE, value), VI_SUCCESS);
    EXPECT_EQ(value[0], 500u);
    EXPECT_EQ(value[1], 0xA5A5A5A5u) << "wrote past a ViUInt32";

    ASSERT_EQ(session.Connect(peer.Resource().c_str(), VI_NULL, 0), VI_SUCCESS);
    const auto start = Clock::now();
    const Transfer nothing = ReadFrom(session, 1);
    EXPECT_EQ(nothing.status, VI_ERROR_TMO);
    EXPECT_TRUE(nothing.data.empty());
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(500));
}

// Each read is bounded by the time-out set when it starts, whatever an
// earlier read with another time-out left behind on the socket.
TEST(TcpipAttributes, EachReadWaitsTheTimeoutSetBeforeIt) {
    ScriptedPeer peer([](int fd) { WaitForClose(fd); });
    kv::CSessionTCPIP session;
    ASSERT_EQ(session.Connect(peer.Resource().c_str(), VI_NULL, 0), VI_SUCCESS);
    for (const ViUInt32 timeoutMs : {1200u, 50u, 400u, 400u, 0u, 120u}) {
        ASSERT_EQ(session.SetAttribute(VI_ATTR_TMO_VALUE, timeoutMs), VI_SUCCESS);
        const auto start = Clock::now();
        const Transfer nothing = ReadFrom(session, 4);
        const auto waited = Clock::now() - start;
        EXPECT_EQ(nothing.status, VI_ERROR_TMO) << timeoutMs;
        EXPECT_GE(waited, std::chrono::milliseconds(timeoutMs)) << timeoutMs;
        // Generous: only a wait left over from the previous time-out is caught.
        EXPECT_LT(waited, std::chrono::milliseconds(timeoutMs + 700)) << timeoutMs;
    }
}

}  // namespace

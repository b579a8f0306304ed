// The text-command layer end to end: TCPIP::127.0.0.1::<port>::SOCKET::TCS
// opened through the resource manager with the real protocol library,
// against scripted instruments that check the bytes they get and answer
// with packets.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kvproto/packet.h"
#include "kvvisa/visa.h"
#include "protocol_library.h"
#include "res_mgr.h"
#include "session_tcs.h"
#include "support/scripted_peer.h"

namespace {

using kvtest::ReadAvailable;
using kvtest::ReadExactly;
using kvtest::ScriptedPeer;
using kvtest::WriteAll;
using Bytes = std::vector<std::uint8_t>;

constexpr int kPeerWaitMs = 5000;

Bytes Packet(std::uint16_t command, std::int16_t status, std::uint8_t flagA, std::uint8_t flagB,
             const Bytes& body, std::uint16_t signature = kvproto::kSignature) {
    kvproto::PacketHeader header;
    header.signature = signature;
    header.command = command;
    header.status = status;
    header.bodyLen = static_cast<std::uint16_t>(body.size());
    header.flagA = flagA;
    header.flagB = flagB;
    const auto encoded = kvproto::EncodeHeader(header);
    Bytes packet(encoded.size() + body.size());
    std::copy(encoded.begin(), encoded.end(), packet.begin());
    std::copy(body.begin(), body.end(), packet.begin() + kvproto::kHeaderSize);
    return packet;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A one-shot signal between the test and a peer script.
class Signal {
public:
    void Raise() {
        std::lock_guard lock(mutex_);
        raised_ = true;
        changed_.notify_all();
    }
    bool Wait() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(kPeerWaitMs),
                                 [this] { return raised_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool raised_ = false;
};

// An instrument that records everything it gets until the link closes.
struct Recorder {
    Bytes received;
    ScriptedPeer peer{[this](int fd) { received = ReadAvailable(fd, 1 << 20, kPeerWaitMs); }};
};

// An instrument that sends `answer` at once and keeps the link until closed.
ScriptedPeer::Script Sending(Bytes answer) {
    return [answer](int fd) {
        WriteAll(fd, answer.data(), answer.size());
        ReadAvailable(fd, 1, kPeerWaitMs);
    };
}

// Each test closes its sessions before its instrument goes; what a failing
// test leaves open is closed here.
class TcsSession : public ::testing::Test {
protected:
    void TearDown() override {
        for (const ViSession vi : opened_) kv::ResourceManager().Close(vi);
    }

    ViSession Open(const std::string& resource) {
        ViSession vi = VI_NULL;
        EXPECT_EQ(kv::ResourceManager().Open((resource + "::TCS").c_str(), VI_NULL, 0, &vi),
                  VI_SUCCESS);
        opened_.push_back(vi);
        return vi;
    }
    void Close(ViSession vi) {
        EXPECT_EQ(kv::ResourceManager().Close(vi), VI_SUCCESS);
        std::erase(opened_, vi);
    }
    static kv::ISession& Session(ViSession vi) { return *kv::ResourceManager().Find(vi); }

    static ViStatus Write(ViSession vi, std::string_view text, ViUInt32* written) {
        *written = 0xDEAD;
        return Session(vi).Write(reinterpret_cast<const ViByte*>(text.data()),
                                 static_cast<ViUInt32>(text.size()), written);
    }
    static void WriteAllOf(ViSession vi, std::string_view text) {
        ViUInt32 written = 0;
        EXPECT_EQ(Write(vi, text, &written), VI_SUCCESS) << text;
        EXPECT_EQ(written, text.size()) << text;
    }

    struct Line {
        ViStatus status;
        std::string text;
        ViUInt32 returned;
    };
    // One read with room for any line; the text up to its terminating zero.
    static Line ReadLine(ViSession vi) {
        char buffer[4096];
        std::memset(buffer, 'X', sizeof buffer);
        ViUInt32 returned = 0xDEAD;
        const ViStatus status =
            Session(vi).Read(reinterpret_cast<ViByte*>(buffer), sizeof buffer, &returned);
        const std::size_t length = returned > 0 ? strnlen(buffer, returned) : 0;
        return {status, std::string(buffer, length), returned};
    }

    std::vector<ViSession> opened_;
};

TEST_F(TcsSession, WrittenLinesBecomePacketsInOrder) {
    Recorder instrument;
    const ViSession vi = Open(instrument.peer.Resource());

    // No line end yet: every byte is taken, nothing is sent.
    WriteAllOf(vi, "P_MODE = 1");
    // Its line end comes with the rest of the line, a second whole line and
    // the start of a third.
    WriteAllOf(vi, "2\r\nKV_RESET (id=7 status=0)\r\nKV_I");
    // A line end split between two writes.
    WriteAllOf(vi, "NIT\r");
    WriteAllOf(vi, "\nKV_TEST\r\n");
    Close(vi);
    ASSERT_TRUE(instrument.peer.WaitFinished(1));

    const Bytes expected = Concat({
        // FlagA 1, FlagB 0x20 (P_MODE has two bytes, no fraction), BodyLen 4.
        {0xAA, 0x55, 3, 0, 0x00, 0x80, 4, 0, 1, 0x20, 0, 0, 0, 0, 0, 0, 3, 0, 12, 0},
        {0xAA, 0x55, 1, 0, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0},
        {0xAA, 0x55, 2, 0, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0xAA, 0x55, 0, 0, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    });
    EXPECT_EQ(instrument.received, expected);
}

TEST_F(TcsSession, ABadLineStopsTheWriteAfterTheLinesBeforeIt) {
    Recorder instrument;
    const ViSession vi = Open(instrument.peer.Resource());

    ViUInt32 written = 0;
    EXPECT_EQ(Write(vi, "KV_RESET\r\nNO_SUCH_COMMAND\r\nKV_INIT\r\n", &written), VI_ERROR_INV_FMT);
    EXPECT_EQ(written, 10u);  // the first line and its line end
    // The unfinished start of a bad line goes with it.
    WriteAllOf(vi, "P_MODE = ");
    EXPECT_EQ(Write(vi, "x\r\n", &written), VI_ERROR_INV_FMT);
    EXPECT_EQ(written, 0u);
    WriteAllOf(vi, "KV_TEST\r\n");
    Close(vi);
    ASSERT_TRUE(instrument.peer.WaitFinished(1));

    EXPECT_EQ(instrument.received, Concat({
                                       {0xAA, 0x55, 1, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                       {0xAA, 0x55, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                   }));
}

TEST_F(TcsSession, AnswersAreReadAsLines) {
    ScriptedPeer instrument(Sending(Concat({
        Packet(kvproto::KV_GET, 0, 1, 0x20, {3, 0, 3, 0}),
        Packet(kvproto::KV_SET, -32766, 0, 0x20, {3, 0}),
        Packet(0x1234, 1, 0, 0, {}, /*signature=*/0x55AB),
        Packet(kvproto::KV_RESET, 0, 0, 0, {}),
    })));
    const ViSession vi = Open(instrument.Resource());

    const Line plain = ReadLine(vi);
    EXPECT_EQ(plain.status, VI_SUCCESS);
    EXPECT_EQ(plain.text, "P_MODE ? 3");
    EXPECT_EQ(plain.returned, plain.text.size() + 1);  // with its terminating zero

    EXPECT_EQ(ReadLine(vi).text, "P_MODE ( Status=KV_UNKNOWN_PARAMETER ) =");

    const Line foreign = ReadLine(vi);
    EXPECT_EQ(foreign.status, VI_ERROR_RAW_RD_PROT_VIOL);
    EXPECT_EQ(foreign.returned, 0u);
    // The stream goes on after the refused header.
    EXPECT_EQ(ReadLine(vi).text, "KV_RESET");
    Close(vi);
}

TEST_F(TcsSession, APacketCutByTimeOutsIsFinishedByLaterReads) {
    const Bytes answer = Packet(kvproto::KV_GET, 0, 2, 0x20, {3, 0, 7, 0, 0xF9, 0xFF});
    Signal firstSent, secondWanted, secondSent, restWanted;
    ScriptedPeer instrument([&](int fd) {
        WriteAll(fd, answer.data(), 10);  // part of the header
        firstSent.Raise();
        if (!secondWanted.Wait()) return;
        WriteAll(fd, answer.data() + 10, 9);  // the rest of it, part of the body
        secondSent.Raise();
        if (!restWanted.Wait()) return;
        WriteAll(fd, answer.data() + 19, answer.size() - 19);
        ReadAvailable(fd, 1, kPeerWaitMs);
    });
    const ViSession vi = Open(instrument.Resource());
    ASSERT_EQ(Session(vi).SetAttribute(VI_ATTR_TMO_VALUE, 200), VI_SUCCESS);

    ASSERT_TRUE(firstSent.Wait());
    Line line = ReadLine(vi);
    EXPECT_EQ(line.status, VI_ERROR_TMO);
    EXPECT_EQ(line.returned, 0u);
    secondWanted.Raise();
    ASSERT_TRUE(secondSent.Wait());
    line = ReadLine(vi);
    EXPECT_EQ(line.status, VI_ERROR_TMO);
    EXPECT_EQ(line.returned, 0u);
    restWanted.Raise();
    line = ReadLine(vi);
    EXPECT_EQ(line.status, VI_SUCCESS);
    EXPECT_EQ(line.text, "P_MODE ? 7 -7");
    Close(vi);
}

TEST_F(TcsSession, ALongLineIsDeliveredOverSmallReads) {
    Bytes body = {4, 0};  // P_AVERAGING, one byte per value
    std::string expected = "P_AVERAGING ?";
    for (int i = 0; i < 200; ++i) {
        const int value = i % 100 - 50;
        body.push_back(static_cast<std::uint8_t>(value));
        expected += " " + std::to_string(value);
    }
    ScriptedPeer instrument(Sending(Concat({
        Packet(kvproto::KV_GET, 0, 200, 0x10, body),
        Packet(kvproto::KV_INIT, 0, 0, 0, {}),
    })));
    const ViSession vi = Open(instrument.Resource());

    constexpr ViUInt32 kCount = 7;
    std::string delivered;
    for (int reads = 0; reads < 1000; ++reads) {
        ViByte buffer[kCount + 4];
        std::memset(buffer, 0xEE, sizeof buffer);
        ViUInt32 returned = 0xDEAD;
        const ViStatus status = Session(vi).Read(buffer, kCount, &returned);
        ASSERT_LE(returned, kCount);
        for (ViUInt32 i = kCount; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0xEE) << "overrun";
        delivered.append(reinterpret_cast<const char*>(buffer), returned);
        if (status == VI_SUCCESS) break;
        ASSERT_EQ(status, VI_SUCCESS_MAX_CNT);
        ASSERT_EQ(returned, kCount);
    }
    EXPECT_EQ(delivered, expected + '\0');
    // The next packet starts afresh.
    EXPECT_EQ(ReadLine(vi).text, "KV_INIT");
    Close(vi);
}

TEST_F(TcsSession, ClosingTheTextSessionClosesItsInnerSession) {
    bool closedByUs = false;
    ScriptedPeer instrument([&](int fd) { closedByUs = kvtest::WaitForClose(fd, kPeerWaitMs); });
    const std::size_t before = kv::ResourceManager().SessionCount();
    const ViSession vi = Open(instrument.Resource());
    EXPECT_EQ(kv::ResourceManager().SessionCount(), before + 2);  // the text layer and its socket
    Close(vi);
    EXPECT_EQ(kv::ResourceManager().SessionCount(), before);
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_TRUE(closedByUs);
}

TEST_F(TcsSession, ClosingEverythingClosesEachSessionOnce) {
    Recorder first, second;
    Open(first.peer.Resource());
    Open(second.peer.Resource());
    // As when the library is unloaded: last handle first, so each text
    // layer goes before the socket it opened.
    kv::ResourceManager().CloseAll();
    opened_.clear();
    EXPECT_EQ(kv::ResourceManager().SessionCount(), 0u);
    EXPECT_TRUE(first.peer.WaitFinished(1));
    EXPECT_TRUE(second.peer.WaitFinished(1));
}

TEST(TcsProtocolLibrary, WithoutAWholeLibraryNothingIsOpened) {
    Recorder instrument;
    const std::string resource = instrument.peer.Resource() + "::TCS";
    const std::size_t before = kv::ResourceManager().SessionCount();
    const std::vector<std::vector<std::string>> missing = {
        {"/nonexistent/libProtocolLib.so"},
        {TCS_INCOMPLETE_LIBRARY},  // one entry point short
    };
    for (const auto& candidates : missing) {
        kv::CSessionTCS session(kv::ResourceManager(), candidates);
        EXPECT_EQ(session.Connect(resource.c_str(), VI_NULL, 0), VI_ERROR_LIBRARY_NFOUND);
        EXPECT_EQ(kv::ResourceManager().SessionCount(), before);
    }
    EXPECT_EQ(instrument.peer.Accepted(), 0);

    // Looked for beside the program that holds the library first, then by name.
    const auto candidates = kv::DefaultProtocolLibraryCandidates();
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    std::string folder = self;
    folder.resize(folder.rfind('/'));
    EXPECT_EQ(candidates, (std::vector<std::string>{folder + "/libProtocolLib.so",
                                                     "libProtocolLib.so"}));
}

}  // namespace

// kvtalk against a scripted instrument on 127.0.0.1: the packets its lines
// become, the answers it prints, and how it reports what goes wrong.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "instrument_script.h"
#include "support/scripted_peer.h"
#include "tool_run.h"

namespace kvtools_test {
namespace {

// P_MODE is a two-byte parameter, identifier 3.
const Bytes kSetModeTo3 = HexBytes("AA 55 03 00 00 80 04 00 01 20 00 00 00 00 00 00 03 00 03 00");
const Bytes kSetModeTo2 = HexBytes("AA 55 03 00 00 80 04 00 01 20 00 00 00 00 00 00 03 00 02 00");
const Bytes kGetMode = HexBytes("AA 55 04 00 00 80 02 00 00 20 00 00 00 00 00 00 03 00");
const Bytes kModeIs4 = HexBytes("AA 55 03 00 00 00 04 00 01 20 00 00 00 00 00 00 03 00 04 00");
const Bytes kModeReads3 = HexBytes("AA 55 04 00 00 00 04 00 01 20 00 00 00 00 00 00 03 00 03 00");

// Records every packet and answers it with `answer`, or with the packet
// itself marked successful when `answer` is empty; until the link closes.
kvtest::ScriptedPeer::Script Answering(std::shared_ptr<PacketLog> log, Bytes answer = {}) {
    return [log, answer](int fd) {
        while (auto packet = ReadPacket(fd)) {
            log->Add(*packet);
            Bytes reply = answer;
            if (reply.empty()) {
                reply = *packet;
                reply[4] = reply[5] = 0;  // status KV_NO_ERROR
            }
            kvtest::WriteAll(fd, reply.data(), reply.size());
        }
    };
}

TEST(Kvtalk, SendsALineAsItsExactPacketAndPrintsTheAnswer) {
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument(Answering(log, kModeIs4));
    const auto run = RunTool({kKvtalk, instrument.Resource()}, "P_MODE = 3\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "P_MODE = 4\n");
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_EQ(log->Packets(), std::vector<Bytes>{kSetModeTo3});
}

TEST(Kvtalk, SendsLinesInOrderEachAfterTheAnswerToTheLast) {
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument([log](int fd) {
        for (const Bytes* answer : {&kModeIs4, &kModeReads3}) {
            auto packet = ReadPacket(fd);
            if (!packet) return;
            log->Add(*packet);
            kvtest::WriteAll(fd, answer->data(), answer->size());
        }
        kvtest::WaitForClose(fd);
    });
    // Script files may have carriage returns, comments and blank lines.
    const auto run = RunTool({kKvtalk, instrument.Resource() + "::TCS"},
                             "# mode\r\nP_MODE = 3\r\n\n   \nP_MODE ?\r\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"P_MODE = 4", "P_MODE ? 3"}));
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_EQ(log->Packets(), (std::vector<Bytes>{kSetModeTo3, kGetMode}));
}

TEST(Kvtalk, PrintsAnAnswerLongerThanOneReadAsOneLine) {
    // 40000 one-byte values of -100: some 200 KB of text.
    Bytes answer = HexBytes("AA 55 04 00 00 00 42 9C 00 10 00 00 00 00 00 00 03 00");
    answer.resize(answer.size() + 40000, 0x9C);
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument(Answering(log, answer));
    const auto run = RunTool({kKvtalk, instrument.Resource()}, "P_MODE ?\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    const std::string values = " ? -100";
    ASSERT_TRUE(lines[0].starts_with("P_MODE (")) << lines[0].substr(0, 80);
    const auto first = lines[0].find(values);
    ASSERT_NE(first, std::string::npos);
    std::string expected = " ?";
    for (int i = 0; i < 40000; ++i) expected += " -100";
    EXPECT_EQ(lines[0].substr(first), expected);
}

TEST(Kvtalk, StopsAtAMalformedLineNamingTheTokenAfterSendingTheLinesBefore) {
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument(Answering(log));
    const auto run = RunTool({kKvtalk, instrument.Resource()},
                             "P_MODE = 3\nP_MODE = 2\nP_MODE = 3x\nP_MODE = 1\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "kvtalk: line 3: \"P_MODE = 3x\": \"3x\" is not a number\n");
    EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"P_MODE = 3", "P_MODE = 2"}));
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_EQ(log->Packets(), (std::vector<Bytes>{kSetModeTo3, kSetModeTo2}));
}

TEST(Kvtalk, ReportsNamesTheProtocolDoesNotKnowAndGoesOnWhenAsked) {
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument(Answering(log));
    const auto run = RunTool({kKvtalk, "--keep-going", instrument.Resource()},
                             "P_NO_SUCH = 3\nKV_NO_SUCH\nP_MODE = 2\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Lines(run.err),
              (std::vector<std::string>{
                  "kvtalk: line 1: \"P_NO_SUCH = 3\": \"P_NO_SUCH\" is not a known parameter",
                  "kvtalk: line 2: \"KV_NO_SUCH\": \"KV_NO_SUCH\" is not a known command"}));
    EXPECT_EQ(run.out, "P_MODE = 2\n");
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_EQ(log->Packets(), std::vector<Bytes>{kSetModeTo2});
}

TEST(Kvtalk, WarnsOfHeaderKeysTheLayerIgnoresAndSendsTheLine) {
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument(Answering(log));
    const auto run = RunTool({kKvtalk, instrument.Resource()}, "P_MODE (stauts=0) = 3\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err,
              "kvtalk: line 1: warning: \"stauts\" ignored: not a header field with a value "
              "(known: signature, status, bodylen, flaga or a, flagb or b, id, dummy)\n");
    EXPECT_EQ(run.out, "P_MODE = 3\n");
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_EQ(log->Packets(), std::vector<Bytes>{kSetModeTo3});
}

TEST(Kvtalk, ARefusedConnectionCannotBeOpened) {
    kvtest::ScriptedPeer instrument([](int) {});
    instrument.StopListening();
    const auto run = RunTool({kKvtalk, instrument.Resource()}, "P_MODE = 3\n");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, "kvtalk: cannot open " + instrument.Resource() +
                           "::TCS: VI_ERROR_RSRC_NFOUND (Resource not found)\n");
    EXPECT_EQ(instrument.Accepted(), 0);
}

TEST(Kvtalk, AnUnansweredLineFailsAfterTheTimeOut) {
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument([log](int fd) {
        if (auto packet = ReadPacket(fd)) log->Add(*packet);
        kvtest::WaitForClose(fd);
    });
    const auto run =
        RunTool({kKvtalk, "--timeout", "200", instrument.Resource()}, "P_MODE = 3\nP_MODE = 2\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "kvtalk: line 1: no answer within 200 ms: VI_ERROR_TMO (Timeout)\n");
    EXPECT_EQ(run.out, "");
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_EQ(log->Packets(), std::vector<Bytes>{kSetModeTo3});
}

TEST(Kvtalk, NoWaitSendsWithoutReadingAnswers) {
    auto log = std::make_shared<PacketLog>();
    kvtest::ScriptedPeer instrument([log](int fd) {
        while (auto packet = ReadPacket(fd)) log->Add(*packet);
    });
    const auto run = RunTool({kKvtalk, "--no-wait", instrument.Resource()},
                             "P_MODE = 3\nP_MODE = 2\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    ASSERT_TRUE(instrument.WaitFinished(1));
    EXPECT_EQ(log->Packets(), (std::vector<Bytes>{kSetModeTo3, kSetModeTo2}));
}

TEST(Kvtalk, ALostLinkEndsWithTheStatusName) {
    kvtest::ScriptedPeer instrument([](int fd) {
        if (auto packet = ReadPacket(fd)) kvtest::WriteAll(fd, kModeIs4.data(), kModeIs4.size());
    });
    auto kvtalk = StartTool({kKvtalk, "--timeout", "500", instrument.Resource()});
    kvtalk->WriteInput("P_MODE = 3\n");
    EXPECT_EQ(kvtalk->ReadLine(), "P_MODE = 4");
    // The instrument hangs up and is gone for good.
    instrument.StopListening();
    ASSERT_TRUE(instrument.WaitFinished(1));
    kvtalk->WriteInput("P_MODE = 2\nP_MODE = 1\n");
    kvtalk->CloseInput();
    EXPECT_EQ(kvtalk->Wait(), 1);
    const std::string err = kvtalk->ReadErrorRest();
    EXPECT_EQ(err.rfind("kvtalk: line 2: write failed: VI_ERROR_", 0), 0u) << err;
    EXPECT_EQ(Lines(err).size(), 1u) << err;
}

}  // namespace
}  // namespace kvtools_test

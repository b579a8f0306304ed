// kvmon in a process of its own watching the traffic another program makes:
// this test program through the library's C interface, or kvtalk.
#include <gtest/gtest.h>
#include <signal.h>

#include <memory>
#include <string>
#include <string_view>

#include "instrument_script.h"
#include "kvvisa/visa.h"
#include "support/scripted_peer.h"
#include "tool_run.h"

namespace kvtools_test {
namespace {

const Bytes kSetModeTo3 = HexBytes("AA 55 03 00 00 80 04 00 01 20 00 00 00 00 00 00 03 00 03 00");
// The instrument corrected the value to 4 (status 1, KV_PARAMETER_CORRECTED).
const Bytes kCorrectedTo4 = HexBytes("AA 55 03 00 01 00 04 00 01 20 00 00 00 00 00 00 03 00 04 00");

kvtest::ScriptedPeer::Script AnswerOnce(Bytes answer) {
    return [answer](int fd) {
        if (ReadPacket(fd)) kvtest::WriteAll(fd, answer.data(), answer.size());
        kvtest::WaitForClose(fd);
    };
}

// Starts kvmon and waits until it says it watches: from then on nothing the
// other program does is missed.
std::unique_ptr<kvtest::ChildProcess> StartMonitor(const std::vector<std::string>& argv) {
    auto monitor = StartTool(argv);
    const auto said = monitor->ReadErrorLine();
    EXPECT_TRUE(said && said->starts_with("kvmon: watching ")) << said.value_or("(nothing)");
    return monitor;
}

// "12:34:56.789 >> rest": the time stamp checked, the rest returned.
std::string AfterTimeStamp(const std::optional<std::string>& line) {
    constexpr std::string_view kShape = "00:00:00.000 ";
    bool stamped = line && line->size() > kShape.size();
    for (std::size_t i = 0; stamped && i < kShape.size(); ++i) {
        const char c = (*line)[i];
        stamped = kShape[i] == '0' ? (c >= '0' && c <= '9') : c == kShape[i];
    }
    if (!stamped) {
        ADD_FAILURE() << "not a monitor line: " << line.value_or("(nothing)");
        return {};
    }
    return line->substr(kShape.size());
}

// One exchange of this program with the instrument, through the library.
void WriteAndReadThroughTheLibrary(const std::string& resource, const Bytes& command,
                                   std::size_t answerSize) {
    ViSession manager = VI_NULL;
    ViSession session = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&manager), VI_SUCCESS);
    ASSERT_EQ(viOpen(manager, resource.c_str(), VI_NULL, 0, &session), VI_SUCCESS);
    ViUInt32 moved = 0;
    EXPECT_EQ(viWrite(session, command.data(), static_cast<ViUInt32>(command.size()), &moved),
              VI_SUCCESS);
    Bytes answer(answerSize);
    EXPECT_EQ(viRead(session, answer.data(), static_cast<ViUInt32>(answer.size()), &moved),
              VI_SUCCESS);
    viClose(session);
    viClose(manager);
}

TEST(Kvmon, RawShowsTheBytesOfAnotherProgramsTransfersWithTheirDirections) {
    kvtest::ScriptedPeer instrument(AnswerOnce(kCorrectedTo4));
    auto monitor = StartMonitor({kKvmon, "--raw", instrument.Resource()});
    WriteAndReadThroughTheLibrary(instrument.Resource(), kSetModeTo3, kCorrectedTo4.size());

    EXPECT_EQ(AfterTimeStamp(monitor->ReadLine()),
              ">> AA 55 03 00 00 80 04 00 01 20 00 00 00 00 00 00 03 00 03 00");
    EXPECT_EQ(AfterTimeStamp(monitor->ReadLine()),
              "<< AA 55 03 00 01 00 04 00 01 20 00 00 00 00 00 00 03 00 04 00");
    monitor->Kill(SIGINT);
    EXPECT_EQ(monitor->Wait(), 0);
    EXPECT_EQ(monitor->ReadRest(), "");
    EXPECT_EQ(monitor->ReadErrorRest(), "");
}

TEST(Kvmon, ShowsKvtalksCommandsAndAnswersAsTextLines) {
    kvtest::ScriptedPeer instrument(AnswerOnce(kCorrectedTo4));
    // Typed with its layers, the resource means the same.
    auto monitor = StartMonitor({kKvmon, instrument.Resource() + "::HOOK::TCS"});
    const auto talk = RunTool({kKvtalk, instrument.Resource()}, "P_MODE = 3\n");
    EXPECT_EQ(talk.exitCode, 0) << talk.err;
    EXPECT_EQ(talk.out, "P_MODE ( Status=KV_PARAMETER_CORRECTED ) = 4\n");

    EXPECT_EQ(AfterTimeStamp(monitor->ReadLine()), ">> P_MODE = 3");
    EXPECT_EQ(AfterTimeStamp(monitor->ReadLine()),
              "<< P_MODE ( Status=KV_PARAMETER_CORRECTED ) = 4");
    monitor->Kill(SIGTERM);
    EXPECT_EQ(monitor->Wait(), 0);
    EXPECT_EQ(monitor->ReadRest(), "");
    EXPECT_EQ(monitor->ReadErrorRest(), "");
}

}  // namespace
}  // namespace kvtools_test

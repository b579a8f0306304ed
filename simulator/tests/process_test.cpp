// The real simulator process over 127.0.0.1: the instrument port, the
// control channel and its faults, the command line and the way it ends.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "instrument_status.h"
#include "sim_connection.h"
#include "support/child_process.h"
#include "support/scripted_peer.h"
#include "support/simulator_process.h"
#include "test_packets.h"

namespace {

using F = kvproto::EInstrumentField;
using z5rtest::CConnection;
using kvtest::CSimulator;
using z5rtest::ParseAnswer;

// The value of `key` in a `state` answer, or "<missing>".
std::string StateValue(const CConnection& control, const std::string& key) {
    const std::string text = "\n" + control.Control("state");
    const std::string marker = "\n" + key + "=";
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) return "<missing>";
    const std::size_t start = at + marker.size();
    return text.substr(start, text.find('\n', start) - start);
}

// The one value a field reads, or NaN when there is no answer.
double ReadField(const CConnection& instrument, F field) {
    const auto answer = instrument.Exchange(z5rtest::GetField(field));
    if (!answer) return std::nan("");
    const z5rtest::SAnswer parsed = ParseAnswer(*answer);
    return parsed.values.size() == 2 ? parsed.values[1] : std::nan("");
}

TEST(SimulatorProcessTest, AnswersRequestsAndShowsTheStateOnTheControlChannel) {
    CSimulator sim;
    ASSERT_TRUE(sim.Started());
    CConnection instrument(sim.Port());
    CConnection control(sim.ControlPort());

    const auto answer = instrument.Exchange(z5rtest::SetField(F::CwFrequency, {2.5e9}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(ParseAnswer(*answer).values, (std::vector<double>{0, 2.5e9}));
    const auto level = instrument.Exchange(z5rtest::SetField(F::Level, {-2000}));
    ASSERT_TRUE(level);
    EXPECT_EQ(ParseAnswer(*level).header.status, z5rsim::KV_NO_ERROR);

    EXPECT_EQ(StateValue(control, "CwFrequency"), "2500000000");
    EXPECT_EQ(StateValue(control, "Level"), "-20.00");
    EXPECT_EQ(StateValue(control, "Requests"), "2");
    EXPECT_EQ(StateValue(control, "Connections"), "1");

    // The level settles a short while after the change.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ReadField(instrument, F::LevelSettled) != 1 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ReadField(instrument, F::LevelSettled), 1);
}

TEST(SimulatorProcessTest, ServesClientsOneAfterAnother) {
    CSimulator sim;
    ASSERT_TRUE(sim.Started());
    CConnection control(sim.ControlPort());
    auto first = std::make_unique<CConnection>(sim.Port());
    ASSERT_TRUE(first->Exchange(z5rtest::Command(kvproto::KV_TEST, 1)));

    CConnection second(sim.Port());
    ASSERT_TRUE(second.Send(z5rtest::Command(kvproto::KV_TEST, 2)));
    // Still the first one's turn: the second waits.
    EXPECT_TRUE(kvtest::ReadAvailable(second.Fd(), 16, 100).empty());
    ASSERT_TRUE(first->Exchange(z5rtest::Command(kvproto::KV_TEST, 3)));
    EXPECT_EQ(StateValue(control, "Connections"), "1");

    first.reset();
    const auto answer = second.ReadPacket();
    ASSERT_TRUE(answer);
    EXPECT_EQ(ParseAnswer(*answer).header.id, 2u);
    EXPECT_EQ(StateValue(control, "Connections"), "2");
}

TEST(SimulatorProcessTest, DropClosesTheInstrumentConnections) {
    CSimulator sim;
    ASSERT_TRUE(sim.Started());
    CConnection instrument(sim.Port());
    CConnection waiting(sim.Port());
    CConnection control(sim.ControlPort());
    ASSERT_TRUE(instrument.Exchange(z5rtest::Command(kvproto::KV_TEST)));
    EXPECT_EQ(control.Control("drop"), "OK\n");
    EXPECT_TRUE(kvtest::WaitForClose(instrument.Fd()));
    EXPECT_TRUE(kvtest::WaitForClose(waiting.Fd()));

    CConnection again(sim.Port());
    EXPECT_TRUE(again.Exchange(z5rtest::Command(kvproto::KV_TEST)));
}

TEST(SimulatorProcessTest, MutedRequestsGoUnanswered) {
    CSimulator sim;
    ASSERT_TRUE(sim.Started());
    CConnection instrument(sim.Port());
    CConnection control(sim.ControlPort());
    EXPECT_EQ(control.Control("mute on"), "OK\n");
    ASSERT_TRUE(instrument.Send(z5rtest::Request(kvproto::KV_SET, kvproto::kParamFrequency, {0, 3e9}, -1, 11)));
    EXPECT_FALSE(instrument.ReadPacket(200));
    EXPECT_EQ(StateValue(control, "Muted"), "1");
    EXPECT_EQ(StateValue(control, "Requests"), "0");
    EXPECT_EQ(StateValue(control, "CwFrequency"), "1000000000");  // not carried out either

    EXPECT_EQ(control.Control("mute off"), "OK\n");
    const auto answer = instrument.Exchange(z5rtest::Command(kvproto::KV_TEST, 12));
    ASSERT_TRUE(answer);
    EXPECT_EQ(ParseAnswer(*answer).header.id, 12u);  // the muted one is gone for good
}

TEST(SimulatorProcessTest, ForeignBytesDropOnlyThatConnection) {
    CSimulator sim;
    ASSERT_TRUE(sim.Started());
    {
        CConnection stray(sim.Port());
        const std::string text = "GET /index.html HTTP/1.0\r\n\r\n";
        ASSERT_TRUE(stray.Send(z5rtest::Bytes(text.begin(), text.end())));
        EXPECT_TRUE(kvtest::WaitForClose(stray.Fd()));
    }
    {
        // A packet claiming a long body, then the connection goes away.
        CConnection cut(sim.Port());
        z5rtest::Bytes header = z5rtest::Command(kvproto::KV_RUN);
        header[6] = 0xFF;
        header[7] = 0xFF;
        ASSERT_TRUE(cut.Send(header));
    }
    CConnection instrument(sim.Port());
    const auto answer = instrument.Exchange(z5rtest::Request(0x55, 0, {}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(ParseAnswer(*answer).header.status, z5rsim::KV_UNKNOWN_COMMAND);
}

TEST(SimulatorProcessTest, FaultsReachTheInstrumentSide) {
    CSimulator sim;
    ASSERT_TRUE(sim.Started());
    CConnection instrument(sim.Port());
    CConnection control(sim.ControlPort());

    instrument.Exchange(z5rtest::SetField(F::ExtRefEnabled, {1}));
    EXPECT_EQ(ReadField(instrument, F::ExtRefLocked), 1);
    EXPECT_EQ(control.Control("lose-ref"), "OK\n");
    EXPECT_EQ(ReadField(instrument, F::ExtRefLocked), 0);
    EXPECT_EQ(ReadField(instrument, F::ExtRefEnabled), 0);
    EXPECT_EQ(ReadField(instrument, F::NextError), z5rsim::KV_EXTREF_NO_PLL);
    EXPECT_EQ(StateValue(control, "RefPresent"), "0");
    EXPECT_EQ(control.Control("restore-ref"), "OK\n");
    instrument.Exchange(z5rtest::SetField(F::ExtRefEnabled, {1}));
    EXPECT_EQ(ReadField(instrument, F::ExtRefLocked), 1);

    EXPECT_EQ(control.Control("error -32761"), "OK\n");
    EXPECT_EQ(ReadField(instrument, F::NextError), -32761);
    EXPECT_EQ(ReadField(instrument, F::NextError), 0);

    EXPECT_EQ(control.Control("rf-button off"), "OK\n");
    EXPECT_EQ(ReadField(instrument, F::RfButton), 0);

    EXPECT_EQ(control.Control("frobnicate"), "ERR unknown command\n");
    const std::string overlong(10000, 'x');
    EXPECT_EQ(control.Control(overlong), "ERR line too long\n");
    EXPECT_EQ(control.Control("rf-button on"), "OK\n");
    EXPECT_EQ(ReadField(instrument, F::RfButton), 1);
}

TEST(SimulatorProcessTest, IdentityOptions) {
    CSimulator sim({"--secure", "--no-pulse", "--serial", "Z5R-777", "--name", "Bench"});
    ASSERT_TRUE(sim.Started());
    CConnection instrument(sim.Port());
    const auto serial = instrument.Exchange(z5rtest::GetField(F::SerialNumber));
    ASSERT_TRUE(serial);
    EXPECT_EQ(z5rtest::AnswerText(ParseAnswer(*serial)), "Z5R-777*");
    const auto name = instrument.Exchange(z5rtest::GetField(F::Name));
    ASSERT_TRUE(name);
    EXPECT_EQ(z5rtest::AnswerText(ParseAnswer(*name)), "Bench");
    EXPECT_EQ(ReadField(instrument, F::HasPulseModulation), 0);
    const auto pulse = instrument.Exchange(z5rtest::GetField(F::PulseModEnabled));
    ASSERT_TRUE(pulse);
    EXPECT_EQ(ParseAnswer(*pulse).header.status, z5rsim::KV_UNKNOWN_PARAMETER);
}

TEST(SimulatorProcessTest, VerboseLogNamesEveryExchange) {
    kvtest::ChildOptions captureErrors;
    captureErrors.captureErrors = true;
    CSimulator sim({"-v"}, captureErrors);
    ASSERT_TRUE(sim.Started());
    {
        CConnection instrument(sim.Port());
        ASSERT_TRUE(instrument.Exchange(z5rtest::SetField(F::CwFrequency, {1e9})));
        CConnection control(sim.ControlPort());
        control.Control("quit");
    }
    EXPECT_EQ(sim.Child().Wait(), 0);
    const std::string log = sim.Child().ReadErrorRest();
    EXPECT_NE(log.find("SET P_FREQUENCY CwFrequency 1000000000 -> 1000000000 (KV_NO_ERROR)\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("control: quit -> OK\n"), std::string::npos) << log;
}

TEST(SimulatorProcessTest, EndsCleanlyOnQuitAndOnSignals) {
    {
        CSimulator sim;
        ASSERT_TRUE(sim.Started());
        CConnection control(sim.ControlPort());
        EXPECT_EQ(control.Control("quit"), "OK\n");
        EXPECT_EQ(sim.Child().Wait(), 0);
    }
    for (const int signal : {SIGTERM, SIGINT}) {
        CSimulator sim;
        ASSERT_TRUE(sim.Started());
        sim.Child().Kill(signal);
        EXPECT_EQ(sim.Child().Wait(), 0) << signal;
    }
}

TEST(SimulatorProcessTest, CommandLineMistakesAreReported) {
    kvtest::ChildProcess help({Z5R_SIM_PATH, "--help"});
    EXPECT_NE(help.ReadRest().find("--discovery-port"), std::string::npos);
    EXPECT_EQ(help.Wait(), 0);

    kvtest::ChildOptions options;
    options.captureErrors = true;
    kvtest::ChildProcess bad({Z5R_SIM_PATH, "--port", "http"}, options);
    EXPECT_NE(bad.ReadErrorRest().find("--port"), std::string::npos);
    EXPECT_EQ(bad.Wait(), 2);

    // A port already taken is a failure to start, not a hang.
    CSimulator first;
    ASSERT_TRUE(first.Started());
    kvtest::ChildProcess clash({Z5R_SIM_PATH, "--address", "127.0.0.1", "--port", std::to_string(first.Port()),
                                "--discovery-port", "0", "--control-port", "0"},
                               options);
    EXPECT_NE(clash.ReadErrorRest().find("bind"), std::string::npos);
    EXPECT_EQ(clash.Wait(), 1);
}

}  // namespace

// The control channel's commands and the simulator's command line, without
// sockets.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "control_channel.h"
#include "discovery_reply.h"
#include "instrument_status.h"
#include "options.h"
#include "state_report.h"

namespace {

using z5rsim::EControlAction;
using F = kvproto::EInstrumentField;

class ControlChannelTest : public ::testing::Test {
protected:
    z5rsim::SControlReply Send(std::string_view line) { return z5rsim::HandleControlLine(line, state_, status_); }

    // The value of `key` in a state report, or "<missing>".
    static std::string Key(const std::string& report, const std::string& key) {
        const std::string marker = "\n" + key + "=";
        const std::string text = "\n" + report;
        const std::size_t at = text.find(marker);
        if (at == std::string::npos) return "<missing>";
        const std::size_t start = at + marker.size();
        return text.substr(start, text.find('\n', start) - start);
    }

    z5rsim::CInstrumentState state_{z5rsim::SIdentity{}};
    z5rsim::SServerStatus status_;
};

TEST_F(ControlChannelTest, StateListsEveryFieldInItsUnits) {
    const std::int64_t frequencies[] = {10'000'000, 20'000'000'000};
    state_.Write(F::PointsListBegin, std::vector<std::int64_t>{2, 1});
    state_.PutChunk(z5rsim::EChunk::ListFrequencies, 0, frequencies);
    state_.PutChunk(z5rsim::EChunk::ListLevels, 0, std::vector<std::int64_t>{-1234});
    state_.Write(F::PointsListCommit, {});
    state_.Write(F::PacketBegin, std::vector<std::int64_t>{1});
    state_.PutChunk(z5rsim::EChunk::PacketWidths, 0, std::vector<std::int64_t>{1'500});
    state_.PutChunk(z5rsim::EChunk::PacketGaps, 0, std::vector<std::int64_t>{20'000'000'000});
    state_.Write(F::PacketCommit, {});
    state_.Write(F::PhaseOffset, std::vector<std::int64_t>{-90});
    state_.QueueError(-32761);
    status_.connections = 2;
    status_.requests = 17;

    const z5rsim::SControlReply reply = Send("state");
    EXPECT_EQ(reply.action, EControlAction::None);
    ASSERT_TRUE(reply.text.ends_with("\nOK\n"));
    const std::string& report = reply.text;
    for (const kvproto::SInstrumentField& row : kvproto::InstrumentFields()) {
        if (row.access == kvproto::EFieldAccess::WriteOnly) continue;
        EXPECT_NE(Key(report, std::string(row.name)), "<missing>") << row.name;
    }
    EXPECT_EQ(Key(report, "CwFrequency"), "1000000000");
    EXPECT_EQ(Key(report, "Level"), "-10.00");
    EXPECT_EQ(Key(report, "SweepStepLevel"), "1.00");
    EXPECT_EQ(Key(report, "FrequencyDwell"), "0.01");
    EXPECT_EQ(Key(report, "PulseWidth"), "0.000001");
    EXPECT_EQ(Key(report, "PhaseOffset"), "-90");
    EXPECT_EQ(Key(report, "SerialNumber"), "Z5R-000123");
    EXPECT_EQ(Key(report, "NextError"), "-32761");
    EXPECT_EQ(Key(report, "ListFrequencies"), "10000000,20000000000");
    EXPECT_EQ(Key(report, "ListLevels"), "-12.34");
    EXPECT_EQ(Key(report, "PacketWidths"), "0.0000015");
    EXPECT_EQ(Key(report, "PacketGaps"), "1");
    EXPECT_EQ(Key(report, "Connections"), "2");
    EXPECT_EQ(Key(report, "Requests"), "17");
    EXPECT_EQ(Key(report, "Muted"), "0");
    EXPECT_EQ(Key(report, "RefPresent"), "1");
    // Looking at the state takes nothing from the error queue.
    EXPECT_EQ(state_.TakeError(), -32761);
}

TEST_F(ControlChannelTest, FaultsAndActions) {
    EXPECT_EQ(Send("drop").action, EControlAction::DropClients);
    EXPECT_EQ(Send("quit").text, "OK\n");
    EXPECT_EQ(Send("quit").action, EControlAction::Quit);

    EXPECT_EQ(Send("mute on").text, "OK\n");
    EXPECT_TRUE(status_.muted);
    Send("  mute   off \r");
    EXPECT_FALSE(status_.muted);

    Send("rf-button off");
    EXPECT_EQ(state_.Read(F::RfButton), std::vector<std::int64_t>{0});
    Send("rf-button on");
    EXPECT_EQ(state_.Read(F::RfButton), std::vector<std::int64_t>{1});

    Send("error -32761");
    EXPECT_EQ(state_.TakeError(), -32761);

    state_.Write(F::ExtRefEnabled, std::vector<std::int64_t>{1});
    Send("lose-ref");
    EXPECT_FALSE(state_.ReferencePresent());
    EXPECT_EQ(state_.Read(F::ExtRefEnabled), std::vector<std::int64_t>{0});
    EXPECT_EQ(state_.TakeError(), z5rsim::KV_EXTREF_NO_PLL);
    Send("restore-ref");
    EXPECT_TRUE(state_.ReferencePresent());

    // A held setting reads back its held value whatever is written.
    EXPECT_EQ(Send("hold RfOutputEnabled 0").text, "OK\n");
    EXPECT_EQ(state_.Write(F::RfOutputEnabled, std::vector<std::int64_t>{1}).status, z5rsim::KV_NO_ERROR);
    EXPECT_EQ(state_.Read(F::RfOutputEnabled), std::vector<std::int64_t>{0});
    Send("release RfOutputEnabled");
    state_.Write(F::RfOutputEnabled, std::vector<std::int64_t>{1});
    EXPECT_EQ(state_.Read(F::RfOutputEnabled), std::vector<std::int64_t>{1});
}

TEST_F(ControlChannelTest, BadLinesAreRefusedWithAReason) {
    const char* bad[] = {"",           "   ",          "bogus",        "STATE",         "state now",
                         "mute",       "mute maybe",   "rf-button 1",  "error",         "error 0",
                         "error 40000", "error -32769", "error 12abc", "error -32761 1", "quit now",
                         "hold",       "hold Nothing 1", "hold RfOutputEnabled", "hold RfOutputEnabled x",
                         "hold SerialNumber 1", "release", "release RfOutputEnabled 1",
                         "\x01\x02\xff"};
    for (const char* line : bad) {
        const z5rsim::SControlReply reply = Send(line);
        EXPECT_TRUE(reply.text.starts_with("ERR ")) << line;
        EXPECT_TRUE(reply.text.ends_with("\n")) << line;
        EXPECT_EQ(reply.text.find('\n'), reply.text.size() - 1) << line;
        EXPECT_EQ(reply.action, EControlAction::None) << line;
    }
    EXPECT_TRUE(state_.ErrorQueue().empty());
    EXPECT_FALSE(status_.muted);
}

TEST(DiscoveryReplyTest, RequestAndReply) {
    EXPECT_TRUE(z5rsim::IsDiscoveryRequest(std::string_view("1")));
    EXPECT_TRUE(z5rsim::IsDiscoveryRequest(std::string_view("1\r\n")));
    EXPECT_FALSE(z5rsim::IsDiscoveryRequest(std::string_view("")));
    EXPECT_FALSE(z5rsim::IsDiscoveryRequest(std::string_view("11")));
    EXPECT_FALSE(z5rsim::IsDiscoveryRequest(std::string_view("2")));
    EXPECT_FALSE(z5rsim::IsDiscoveryRequest(std::string_view("1\0", 2)));
    z5rsim::SIdentity identity;
    identity.serial = "Z5R-7*";
    EXPECT_EQ(z5rsim::DiscoveryReply("10.0.0.2", 8888, identity), "10.0.0.2\t8888\tZ5R Z5R-7*\r\n");
}

z5rsim::SParsedOptions Parse(std::vector<std::string_view> args) { return z5rsim::ParseOptions(args); }

TEST(OptionsTest, DefaultsAndEveryOption) {
    const z5rsim::SParsedOptions defaults = Parse({});
    ASSERT_TRUE(defaults.options);
    EXPECT_EQ(defaults.options->port, 8888);
    EXPECT_EQ(defaults.options->discoveryPort, 8889);
    EXPECT_EQ(defaults.options->controlPort, 8890);
    EXPECT_EQ(defaults.options->address, "0.0.0.0");
    EXPECT_EQ(z5rsim::IdentityOf(*defaults.options).serial, "Z5R-000123");

    const z5rsim::SParsedOptions all = Parse({"--port", "0", "--discovery-port=1", "--control-port", "65535",
                                              "--address", "127.0.0.1", "--secure", "--no-pulse", "--serial",
                                              "AB-1", "--name=Bench Z5R", "-v"});
    ASSERT_TRUE(all.options) << all.error;
    EXPECT_EQ(all.options->port, 0);
    EXPECT_EQ(all.options->discoveryPort, 1);
    EXPECT_EQ(all.options->controlPort, 65535);
    EXPECT_EQ(all.options->address, "127.0.0.1");
    EXPECT_TRUE(all.options->verbose);
    const z5rsim::SIdentity identity = z5rsim::IdentityOf(*all.options);
    EXPECT_EQ(identity.serial, "AB-1*");
    EXPECT_EQ(identity.name, "Bench Z5R");
    EXPECT_FALSE(identity.pulseModulation);

    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(OptionsTest, BadCommandLinesAreRefused) {
    const std::vector<std::vector<std::string_view>> bad = {
        {"--port"},          {"--port", "65536"},     {"--port", "-1"},        {"--port", "8x"},
        {"--address", "x"},  {"--address", "::1"},    {"--serial", ""},        {"--serial", "a\tb"},
        {"--name", "a\nb"},  {"--secure=yes"},        {"--frobnicate"},        {"extra"},
    };
    for (const auto& args : bad) {
        const z5rsim::SParsedOptions parsed = Parse(args);
        EXPECT_FALSE(parsed.options) << args[0];
        EXPECT_FALSE(parsed.error.empty()) << args[0];
    }
    EXPECT_FALSE(Parse({"--serial", std::string(254, 's')}).options);  // no room left for "*"
    EXPECT_TRUE(Parse({"--serial", std::string(253, 's')}).options);
}

}  // namespace

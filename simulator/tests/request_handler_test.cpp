// The request handler on raw packets: what a client sends and gets back.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "instrument_state.h"
#include "instrument_status.h"
#include "kvproto/dictionary.h"
#include "request_handler.h"
#include "test_packets.h"

namespace {

using F = kvproto::EInstrumentField;
using z5rtest::ParseAnswer;
using z5rtest::Request;
using z5rtest::SAnswer;

class RequestHandlerTest : public ::testing::Test {
protected:
    SAnswer Exchange(const std::vector<std::uint8_t>& request) {
        const SAnswer answer = ParseAnswer(handler_.Handle(request));
        EXPECT_TRUE(answer.wellFormed);
        return answer;
    }

    z5rsim::CInstrumentState state_{z5rsim::SIdentity{}};
    z5rsim::CRequestHandler handler_{state_};
};

TEST(InstrumentStatusTest, StatusesMatchTheDictionary) {
    const std::pair<const char*, std::int16_t> statuses[] = {
        {"KV_NO_ERROR", z5rsim::KV_NO_ERROR},
        {"KV_PARAMETER_CORRECTED", z5rsim::KV_PARAMETER_CORRECTED},
        {"KV_PARAMETER_IGNORED", z5rsim::KV_PARAMETER_IGNORED},
        {"KV_UNKNOWN_COMMAND", z5rsim::KV_UNKNOWN_COMMAND},
        {"KV_UNKNOWN_PARAMETER", z5rsim::KV_UNKNOWN_PARAMETER},
        {"KV_PARAMETER_INCORRECT", z5rsim::KV_PARAMETER_INCORRECT},
        {"KV_NO_PARAMETERS", z5rsim::KV_NO_PARAMETERS},
        {"KV_SMALL_SIZE", z5rsim::KV_SMALL_SIZE},
        {"KV_SIZE_ERROR", z5rsim::KV_SIZE_ERROR},
        {"KV_SIGNATURE_ERROR", z5rsim::KV_SIGNATURE_ERROR},
        {"KV_EXTREF_NO_PLL", z5rsim::KV_EXTREF_NO_PLL},
    };
    for (const auto& [name, value] : statuses) {
        const kvproto::DictionaryEntry* entry = kvproto::StatusDictionary().FindByName(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->value, value) << name;
    }
}

TEST_F(RequestHandlerTest, SetIsAnsweredWithTheKeptValuesInTheParameterFormat) {
    // P_MODE field 0 (sweep mode) = 3, with Dummy and ID to be echoed.
    std::vector<std::uint8_t> request = Request(kvproto::KV_SET, kvproto::kParamMode, {0, 3});
    request[10] = 0x34;
    request[12] = 0x78;
    const std::vector<std::uint8_t> expected = {0xAA, 0x55, 0x03, 0x00, 0x00, 0x00, 0x06, 0x00, 0x02, 0x20, 0x34,
                                                0x00, 0x78, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00};
    EXPECT_EQ(handler_.Handle(request), expected);

    const SAnswer level = Exchange(z5rtest::SetField(F::Level, {3500}));
    EXPECT_EQ(level.header.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(level.header.flagB, 0x40);
    EXPECT_EQ(level.param, kvproto::kParamRfOut);
    EXPECT_EQ(level.values, (std::vector<double>{0, 2000}));
    EXPECT_EQ(Exchange(z5rtest::GetField(F::Level)).values, (std::vector<double>{0, 2000}));
}

TEST_F(RequestHandlerTest, FrequencySweepConfigurationReadsBackFieldByField) {
    const SAnswer configured = Exchange(z5rtest::SetField(F::ConfigureFrequencySweep, {0, 110e9, 110e9}));
    EXPECT_EQ(configured.header.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(configured.values, (std::vector<double>{4, 10e6, 20e9, 19.99e9}));
    EXPECT_EQ(Exchange(z5rtest::GetField(F::SweepStartFrequency)).values, (std::vector<double>{1, 10e6}));
    EXPECT_EQ(Exchange(z5rtest::GetField(F::SweepStopFrequency)).values, (std::vector<double>{2, 20e9}));
    EXPECT_EQ(Exchange(z5rtest::GetField(F::SweepStepFrequency)).values, (std::vector<double>{3, 19.99e9}));
}

TEST_F(RequestHandlerTest, FractionsAreRoundedAndExtraValuesIgnored) {
    // Hundredths of a dB with a fraction byte: halves go away from zero.
    for (const auto& [sent, kept] : {std::pair{-1000.5, -1001.0}, {-999.4, -999.0}, {0.5, 1.0}, {1.49, 1.0}}) {
        const SAnswer rounded = Exchange(Request(kvproto::KV_SET, kvproto::kParamRfOut, {0, sent}, 0x41));
        EXPECT_EQ(rounded.header.status, z5rsim::KV_PARAMETER_CORRECTED) << sent;
        EXPECT_EQ(rounded.values, (std::vector<double>{0, kept})) << sent;
    }

    const SAnswer extra = Exchange(Request(kvproto::KV_SET, kvproto::kParamFrequency, {0, 2e9, 7, 8}));
    EXPECT_EQ(extra.header.status, z5rsim::KV_PARAMETER_IGNORED);
    EXPECT_EQ(extra.values, (std::vector<double>{0, 2e9}));
    EXPECT_EQ(state_.Read(F::CwFrequency), std::vector<std::int64_t>{2'000'000'000});
}

TEST_F(RequestHandlerTest, NextErrorIsTakenByReadingIt) {
    state_.QueueError(-32761);
    state_.QueueError(-32740);
    EXPECT_EQ(Exchange(z5rtest::GetField(F::NextError)).values, (std::vector<double>{3, -32761}));
    EXPECT_EQ(Exchange(z5rtest::GetField(F::NextError)).values, (std::vector<double>{3, -32740}));
    EXPECT_EQ(Exchange(z5rtest::GetField(F::NextError)).values, (std::vector<double>{3, 0}));
}

TEST_F(RequestHandlerTest, IdentityIsAnsweredAsBytes) {
    const SAnswer serial = Exchange(z5rtest::GetField(F::SerialNumber));
    EXPECT_EQ(serial.header.flagB, 0x10);
    EXPECT_EQ(serial.header.flagA, 11);
    EXPECT_EQ(z5rtest::AnswerText(serial), "Z5R-000123");
    EXPECT_EQ(z5rtest::AnswerText(Exchange(z5rtest::GetField(F::Name))), "Z5R");
    EXPECT_EQ(Exchange(z5rtest::GetField(F::InstrumentType)).values,
              (std::vector<double>{0, kvproto::kInstrumentTypeGenerator}));
}

TEST_F(RequestHandlerTest, CommandsWithoutParameters) {
    EXPECT_EQ(Exchange(z5rtest::Command(kvproto::KV_TEST, 7)).header.id, 7u);
    EXPECT_EQ(Exchange(z5rtest::Command(kvproto::KV_RUN)).header.status, z5rsim::KV_NO_ERROR);
    EXPECT_EQ(state_.Triggers(), 1u);
    // A run carrying something is no software trigger.
    EXPECT_EQ(Exchange(Request(kvproto::KV_RUN, 0, {1})).header.status, z5rsim::KV_SIZE_ERROR);
    EXPECT_EQ(state_.Triggers(), 1u);

    Exchange(z5rtest::SetField(F::CwFrequency, {3e9}));
    const SAnswer reset = Exchange(z5rtest::Command(kvproto::KV_RESET));
    EXPECT_EQ(reset.header.status, z5rsim::KV_NO_ERROR);
    EXPECT_EQ(reset.header.bodyLen, 0);
    EXPECT_EQ(state_.Read(F::CwFrequency), std::vector<std::int64_t>{1'000'000'000});
}

TEST_F(RequestHandlerTest, PointListTravelsInChunks) {
    EXPECT_EQ(Exchange(z5rtest::SetField(F::PointsListBegin, {3, 2})).values, (std::vector<double>{0, 3, 2}));
    const SAnswer frequencies =
        Exchange(Request(kvproto::KV_SET, kvproto::kParamFreqListChunk, {0, 1e9, 2e9, 25e9}));
    EXPECT_EQ(frequencies.header.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(frequencies.values, (std::vector<double>{0, 1e9, 2e9, 20e9}));
    EXPECT_EQ(Exchange(Request(kvproto::KV_SET, kvproto::kParamLevelListChunk, {1, -500})).header.status,
              z5rsim::KV_NO_ERROR);
    // The commit needs every element.
    EXPECT_EQ(Exchange(z5rtest::SetField(F::PointsListCommit, {})).header.status, z5rsim::KV_NO_PARAMETERS);
    Exchange(Request(kvproto::KV_SET, kvproto::kParamLevelListChunk, {0, -1000}));
    const SAnswer committed = Exchange(z5rtest::SetField(F::PointsListCommit, {}));
    EXPECT_EQ(committed.header.status, z5rsim::KV_NO_ERROR);
    EXPECT_EQ(committed.values, (std::vector<double>{1, 3, 2}));

    EXPECT_EQ(Exchange(Request(kvproto::KV_GET, kvproto::kParamFreqListChunk, {1})).values,
              (std::vector<double>{1, 2e9, 20e9}));
    EXPECT_EQ(Exchange(Request(kvproto::KV_GET, kvproto::kParamLevelListChunk, {0})).values,
              (std::vector<double>{0, -1000, -500}));
    EXPECT_EQ(Exchange(Request(kvproto::KV_GET, kvproto::kParamFreqListChunk, {3})).values,
              (std::vector<double>{3}));
    EXPECT_EQ(Exchange(Request(kvproto::KV_GET, kvproto::kParamFreqListChunk, {4})).header.status,
              z5rsim::KV_PARAMETER_INCORRECT);
}

TEST_F(RequestHandlerTest, PulsePacketTravelsInChunks) {
    EXPECT_EQ(Exchange(z5rtest::SetField(F::PacketBegin, {2})).values, (std::vector<double>{5, 2}));
    EXPECT_EQ(Exchange(Request(kvproto::KV_SET, kvproto::kParamWidthChunk, {0, 1000, 2000})).header.status,
              z5rsim::KV_NO_ERROR);
    EXPECT_EQ(Exchange(Request(kvproto::KV_SET, kvproto::kParamGapChunk, {0, 9000, 8000})).header.status,
              z5rsim::KV_NO_ERROR);
    EXPECT_EQ(Exchange(z5rtest::SetField(F::PacketCommit, {})).values, (std::vector<double>{6, 2}));
    EXPECT_EQ(Exchange(Request(kvproto::KV_GET, kvproto::kParamGapChunk, {0})).values,
              (std::vector<double>{0, 9000, 8000}));
}

TEST(RequestHandlerNoPulseTest, PulseParametersAreUnknown) {
    z5rsim::SIdentity identity;
    identity.pulseModulation = false;
    z5rsim::CInstrumentState state(identity);
    z5rsim::CRequestHandler handler(state);
    const auto status = [&](const std::vector<std::uint8_t>& request) {
        return ParseAnswer(handler.Handle(request)).header.status;
    };
    EXPECT_EQ(status(z5rtest::GetField(F::PulseModEnabled)), z5rsim::KV_UNKNOWN_PARAMETER);
    EXPECT_EQ(status(z5rtest::SetField(F::PacketBegin, {1})), z5rsim::KV_UNKNOWN_PARAMETER);
    EXPECT_EQ(status(Request(kvproto::KV_SET, kvproto::kParamWidthChunk, {0, 1000})), z5rsim::KV_UNKNOWN_PARAMETER);
    EXPECT_EQ(status(Request(kvproto::KV_GET, kvproto::kParamGapChunk, {0})), z5rsim::KV_UNKNOWN_PARAMETER);
    EXPECT_EQ(ParseAnswer(handler.Handle(z5rtest::GetField(F::HasPulseModulation))).values,
              (std::vector<double>{4, 0}));
}

TEST_F(RequestHandlerTest, LogDescribesEachExchangeReadably) {
    std::string line;
    handler_.Handle(z5rtest::SetField(F::CwFrequency, {1e9}), &line);
    EXPECT_EQ(line, "SET P_FREQUENCY CwFrequency 1000000000 -> 1000000000 (KV_NO_ERROR)");
    handler_.Handle(z5rtest::SetField(F::Level, {3500}), &line);
    EXPECT_EQ(line, "SET P_RF_OUT Level 35 -> 20 (KV_PARAMETER_CORRECTED)");
    handler_.Handle(z5rtest::GetField(F::FrequencyDwell), &line);
    EXPECT_EQ(line, "GET P_SWEEP_TIME FrequencyDwell -> 0.01 (KV_NO_ERROR)");
    handler_.Handle(z5rtest::GetField(F::SerialNumber), &line);
    EXPECT_EQ(line, "GET P_SER_NUM SerialNumber -> \"Z5R-000123\" (KV_NO_ERROR)");
    handler_.Handle(Request(kvproto::KV_GET, 1, {0}, 0x20), &line);
    EXPECT_EQ(line, "GET P_AUTO_GAIN -> (KV_UNKNOWN_PARAMETER)");
    handler_.Handle(z5rtest::Command(9), &line);
    EXPECT_EQ(line, "9 -> (KV_UNKNOWN_COMMAND)");
}

}  // namespace

// Malformed and hostile requests: each gets a well-formed answer with the
// right error status, and none of them changes the instrument.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "instrument_state.h"
#include "instrument_status.h"
#include "request_handler.h"
#include "test_packets.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using F = kvproto::EInstrumentField;

// A packet with its header fields given one by one and the body as bytes.
Bytes Raw(std::uint16_t command, std::uint16_t bodyLen, std::uint8_t flagA, std::uint8_t flagB, const Bytes& body,
          std::uint16_t signature = kvproto::kSignature) {
    kvproto::PacketHeader header;
    header.signature = signature;
    header.command = command;
    header.bodyLen = bodyLen;
    header.flagA = flagA;
    header.flagB = flagB;
    const auto bytes = kvproto::EncodeHeader(header);
    Bytes packet(bytes.size() + body.size());
    std::copy(body.begin(), body.end(), std::copy(bytes.begin(), bytes.end(), packet.begin()));
    return packet;
}

Bytes Cut(Bytes packet, std::size_t size) {
    packet.resize(size);
    return packet;
}

struct HostileCase {
    std::string name;
    Bytes packet;
    std::int16_t status;
};

std::vector<HostileCase> Cases() {
    using namespace z5rsim;
    const Bytes setFrequency = z5rtest::SetField(F::CwFrequency, {2e9});
    const Bytes allOnes(30, 0xFF);
    return {
        {"empty", {}, KV_SMALL_SIZE},
        {"truncated header", Cut(setFrequency, 10), KV_SMALL_SIZE},
        {"body shorter than BodyLen", Cut(setFrequency, setFrequency.size() - 3), KV_SMALL_SIZE},
        {"wrong signature", Raw(kvproto::KV_TEST, 0, 0, 0, {}, 0x1234), KV_SIGNATURE_ERROR},
        {"unknown command", Raw(7, 0, 0, 0, {}), KV_UNKNOWN_COMMAND},
        {"command 0xFFFF", Raw(0xFFFF, 4, 0, 0, {1, 2, 3, 4}), KV_UNKNOWN_COMMAND},
        {"init is not supported", Raw(kvproto::KV_INIT, 0, 0, 0, {}), KV_UNKNOWN_COMMAND},
        {"set without a parameter", Raw(kvproto::KV_SET, 1, 0, 0x60, {0}), KV_SMALL_SIZE},
        {"FlagA counts more than the body holds", Raw(kvproto::KV_SET, 2 + 6, 2, 0x60, Bytes(8, 0)), KV_SMALL_SIZE},
        {"body longer than FlagA says", Raw(kvproto::KV_GET, 2 + 6 + 4, 1, 0x60, Bytes(12, 0)), KV_SIZE_ERROR},
        {"values of no size", Raw(kvproto::KV_SET, 2, 3, 0x00, {0, 0}), KV_SIZE_ERROR},
        {"get without a field", Raw(kvproto::KV_GET, 2, 0, 0x60, {0, 0}), KV_SMALL_SIZE},
        {"unknown parameter", z5rtest::Request(kvproto::KV_GET, 1, {0}, 0x20), KV_UNKNOWN_PARAMETER},
        {"parameter 0xFFFF", z5rtest::Request(kvproto::KV_SET, 0xFFFF, {0, 1}, 0x20), KV_UNKNOWN_PARAMETER},
        {"unknown field", z5rtest::Request(kvproto::KV_GET, kvproto::kParamFrequency, {9}), KV_UNKNOWN_PARAMETER},
        {"negative field", z5rtest::Request(kvproto::KV_SET, kvproto::kParamFrequency, {-1, 1e9}), KV_UNKNOWN_PARAMETER},
        {"field past a byte", z5rtest::Request(kvproto::KV_GET, kvproto::kParamFrequency, {256}), KV_UNKNOWN_PARAMETER},
        {"fractional field", z5rtest::Request(kvproto::KV_GET, kvproto::kParamFrequency, {0.5}, 0x61), KV_UNKNOWN_PARAMETER},
        {"write of a read-only field", z5rtest::SetField(F::Locked, {0}), KV_PARAMETER_INCORRECT},
        {"read of a write-only field", z5rtest::GetField(F::ConfigureFrequencySweep), KV_PARAMETER_INCORRECT},
        {"set without its value", z5rtest::SetField(F::CwFrequency, {}), KV_SMALL_SIZE},
        {"configure with two of three", z5rtest::SetField(F::ConfigureLevelSweep, {0, 1}), KV_SMALL_SIZE},
        {"unsupported code", z5rtest::SetField(F::SweepMode, {2}), KV_PARAMETER_INCORRECT},
        {"chunk without an offset", Raw(kvproto::KV_GET, 2, 0, 0x60, {26, 0}), KV_SMALL_SIZE},
        {"chunk at a negative offset", z5rtest::Request(kvproto::KV_GET, kvproto::kParamFreqListChunk, {-1}), KV_PARAMETER_INCORRECT},
        {"chunk at a fractional offset", z5rtest::Request(kvproto::KV_GET, kvproto::kParamLevelListChunk, {0.25}, 0x42), KV_PARAMETER_INCORRECT},
        {"chunk at a huge offset", z5rtest::Request(kvproto::KV_GET, kvproto::kParamFreqListChunk, {1e18}, 0x80), KV_PARAMETER_INCORRECT},
        {"chunk without a transfer", z5rtest::Request(kvproto::KV_SET, kvproto::kParamGapChunk, {0, 10}), KV_NO_PARAMETERS},
        {"chunk with no elements", z5rtest::Request(kvproto::KV_SET, kvproto::kParamWidthChunk, {0}), KV_SMALL_SIZE},
        {"commit without a transfer", z5rtest::SetField(F::PacketCommit, {}), KV_NO_PARAMETERS},
        {"run with a body", Raw(kvproto::KV_RUN, 30, 0, 0, allOnes), KV_SIZE_ERROR},
    };
}

TEST(HostileRequestTest, EveryMalformedRequestGetsAWellFormedRefusal) {
    z5rsim::CInstrumentState state{z5rsim::SIdentity{}};
    z5rsim::CRequestHandler handler(state);
    const std::vector<std::int64_t> frequencyBefore = state.Read(F::CwFrequency);
    for (const HostileCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const z5rtest::SAnswer answer = z5rtest::ParseAnswer(handler.Handle(c.packet));
        EXPECT_TRUE(answer.wellFormed);
        EXPECT_EQ(answer.header.status, c.status);
        // A refusal carries no values, at most the parameter it refers to.
        EXPECT_LE(answer.header.bodyLen, 2);
        EXPECT_EQ(state.Read(F::CwFrequency), frequencyBefore);
    }
    EXPECT_EQ(state.Triggers(), 0u);
}

TEST(HostileRequestTest, ExtremeValuesAreClampedNotWrapped) {
    z5rsim::CInstrumentState state{z5rsim::SIdentity{}};
    z5rsim::CRequestHandler handler(state);

    Bytes huge = Raw(kvproto::KV_SET, 2 + 2 * 15, 2, 0xF0, {0, 0});
    huge.insert(huge.end(), 15, 0);      // field 0
    huge.insert(huge.end(), 14, 0xFF);   // 2^119 - 1 Hz
    huge.push_back(0x7F);
    z5rtest::SAnswer answer = z5rtest::ParseAnswer(handler.Handle(huge));
    EXPECT_EQ(answer.header.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(answer.values, (std::vector<double>{0, 20e9}));

    // Fifteen fraction bytes: a value just above zero rounds to 0 Hz.
    Bytes tiny = Raw(kvproto::KV_SET, 2 + 2 * 15, 2, 0xFF, {0, 0});
    tiny.insert(tiny.end(), 15, 0);
    tiny.insert(tiny.end(), 15, 0x01);
    answer = z5rtest::ParseAnswer(handler.Handle(tiny));
    EXPECT_EQ(answer.header.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(answer.values, (std::vector<double>{0, 10e6}));

    // A huge level in a wide format comes back as the ceiling in four bytes.
    answer = z5rtest::ParseAnswer(handler.Handle(z5rtest::Request(kvproto::KV_SET, kvproto::kParamRfOut, {0, 1e17}, 0x80)));
    EXPECT_EQ(answer.values, (std::vector<double>{0, 2000}));

    // Chunk values far outside their range are clamped on arrival.
    handler.Handle(z5rtest::SetField(F::PointsListBegin, {1, 1}));
    answer = z5rtest::ParseAnswer(
        handler.Handle(z5rtest::Request(kvproto::KV_SET, kvproto::kParamLevelListChunk, {0, -9e15}, 0x80)));
    EXPECT_EQ(answer.values, (std::vector<double>{0, -11000}));
}

}  // namespace

// Packets into text lines: which header fields are shown, names and their
// stand-ins, values, and packets that are shorter than they claim.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kvproto/packet.h"
#include "kvproto/value_codec.h"
#include "kvvisa/visa.h"
#include "tcs_fake_names.h"
#include "tcs_line.h"
#include "tcs_text.h"

namespace {

using kvtest::FakeProtocolNames;
using Bytes = std::vector<std::uint8_t>;

Bytes Packet(const kvproto::PacketHeader& header, const Bytes& body) {
    const auto encoded = kvproto::EncodeHeader(header);
    Bytes packet(encoded.size() + body.size());
    std::copy(encoded.begin(), encoded.end(), packet.begin());
    std::copy(body.begin(), body.end(), packet.begin() + kvproto::kHeaderSize);
    return packet;
}

kvproto::PacketHeader Header(std::uint16_t command, std::int16_t status, std::uint16_t bodyLen,
                             std::uint8_t flagA = 0, std::uint8_t flagB = 0) {
    kvproto::PacketHeader header;
    header.command = command;
    header.status = status;
    header.bodyLen = bodyLen;
    header.flagA = flagA;
    header.flagB = flagB;
    return header;
}

std::string Answer(const Bytes& packet, const FakeProtocolNames& names = FakeProtocolNames::Usual()) {
    return kv::PacketToText(packet.data(), packet.size(), kv::kAnswerStatus, names);
}
std::string Command(const Bytes& packet, const FakeProtocolNames& names = FakeProtocolNames::Usual()) {
    return kv::PacketToText(packet.data(), packet.size(), kv::kCommandStatus, names);
}

TEST(TcsText, StatusIsShownOnlyWhenUnexpected) {
    const Bytes ok = Packet(Header(kvproto::KV_SET, 0, 4, 1, 0x20), {3, 0, 5, 0});
    EXPECT_EQ(Answer(ok), "P_MODE = 5");
    EXPECT_EQ(Command(ok), "P_MODE ( Status=KV_NO_ERROR ) = 5");

    const Bytes request = Packet(Header(kvproto::KV_GET, -32768, 2, 0, 0x20), {3, 0});
    EXPECT_EQ(Command(request), "P_MODE ?");
    // The library's "= value" is cut off, and blanks before it.
    EXPECT_EQ(Answer(request), "P_MODE ( Status=KV_CRITICAL_ERROR ) ?");

    const Bytes failed = Packet(Header(kvproto::KV_RESET, -32767, 0), {});
    EXPECT_EQ(Answer(failed), "KV_RESET ( Status=KV_UNKNOWN_COMMAND )");
    // A status the library does not know: its 16 bits in hexadecimal.
    const Bytes odd = Packet(Header(kvproto::KV_RESET, -2, 0), {});
    EXPECT_EQ(Answer(odd), "KV_RESET ( Status=0xfffe )");
    FakeProtocolNames onlyValue = FakeProtocolNames::Usual();
    onlyValue.errors = {{" = -2", -2}};
    EXPECT_EQ(Answer(odd, onlyValue), "KV_RESET ( Status=0xfffe )");
}

TEST(TcsText, UnknownNamesShowTheirCode) {
    EXPECT_EQ(Answer(Packet(Header(0x3E8, 0, 0), {})), "0x3e8");
    EXPECT_EQ(Answer(Packet(Header(kvproto::KV_GET, 0, 2, 0, 0), {0xAB, 0x01})), "0x1ab ?");
}

TEST(TcsText, EveryHeaderFieldInOrder) {
    kvproto::PacketHeader header = Header(kvproto::KV_RESET, 5, 4, 2, 0x03);
    header.signature = 0x55AB;
    header.id = 4000000000u;
    header.dummy = 9;
    EXPECT_EQ(Answer(Packet(header, {0, 0, 0, 0})),
              "KV_RESET ( Signature=55ab FlagB=0x3 BodyLen=4 FlagA=0x2 Status=0x5 "
              "ID=4000000000 Dummy=9 )");
}

TEST(TcsText, SetOrGetFieldsOnlyWhenTheyDifferFromTheParameter) {
    // FlagB differs from the parameter's 0x20.
    EXPECT_EQ(Answer(Packet(Header(kvproto::KV_SET, 0, 3, 1, 0x10), {3, 0, 0xFF})),
              "P_MODE ( FlagB=0x10 ) = -1");
    // BodyLen padded to even: length and count are both shown.
    EXPECT_EQ(Answer(Packet(Header(kvproto::KV_SET, 0, 6, 3, 0x10), {4, 0, 1, 2, 3, 0})),
              "P_AVERAGING ( BodyLen=6 FlagA=0x3 ) = 1 2 3 0");
    // Without a value width the count comes from FlagA.
    EXPECT_EQ(Answer(Packet(Header(kvproto::KV_SET, 0, 2, 2, 0), {0, 0})),
              "P_FREQUENCY = 0 0");
    // A set without room for a parameter is shown as the command it is.
    EXPECT_EQ(Answer(Packet(Header(kvproto::KV_SET, 0, 1), {7})), "KV_SET ( BodyLen=1 )");
}

TEST(TcsText, ValuesWithThirteenSignificantDigits) {
    Bytes body = {56, 0};
    const double values[] = {1e9, 1234567890123.0, 12345678901234.0, -0.0};
    for (const double v : values) {
        std::uint8_t bytes[6];
        kvproto::EncodeValue(v, 0x60, bytes);
        body.insert(body.end(), bytes, bytes + 6);
    }
    EXPECT_EQ(Answer(Packet(Header(kvproto::KV_GET, 0, 26, 4, 0x60), body)),
              "P_RRS_FREQUENCY ? 1000000000 1234567890123 1.234567890123e+13 0");
    std::uint8_t fraction[4];
    kvproto::EncodeValue(1.0 / 3.0, 0x42, fraction);
    EXPECT_EQ(Answer(Packet(Header(kvproto::KV_GET, 0, 6, 1, 0x42),
                            {94, 0, fraction[0], fraction[1], fraction[2], fraction[3]})),
              "P_LOG_KOEF ? 0.3333282470703");
}

TEST(TcsText, ShortPacketsAreNotReadPastTheirEnd) {
    // The header claims 40 body bytes; 5 are there: one whole 2-byte value.
    const Bytes cut = Packet(Header(kvproto::KV_SET, 0, 40, 5, 0x20), {3, 0, 7, 0, 9});
    EXPECT_EQ(Answer(cut), "P_MODE ( BodyLen=40 FlagA=0x5 ) = 7");
    const Bytes bare = Packet(Header(kvproto::KV_SET, 0, 40, 5, 0x20), {3});
    EXPECT_EQ(Answer(bare), "KV_SET ( FlagB=0x20 BodyLen=40 FlagA=0x5 )");
}

TEST(TcsText, WrittenLinesReadBackAsCommands) {
    const FakeProtocolNames names = FakeProtocolNames::Usual();
    const struct {
        const char* written;
        const char* shown;
    } cases[] = {
        {"P_MODE = 5", "P_MODE = 5"},
        {"p_mode?", "P_MODE ?"},
        {"P_LOG_KOEF = -1.5 0.25", "P_LOG_KOEF = -1.5 0.25"},
        {"P_RRS_FREQUENCY = 1000000000 -3", "P_RRS_FREQUENCY = 1000000000 -3"},
        {"KV_RESET ( ID=7 )", "KV_RESET ( ID=7 )"},
        {"KV_RUN ( BodyLen=8 FlagA=0x3 Dummy=2 )", "KV_RUN ( BodyLen=8 FlagA=0x3 Dummy=2 )"},
        {"P_MODE ( FlagB=0x21 ) = -1.5", "P_MODE ( FlagB=0x21 ) = -1.5"},
        {"KV_INIT (status=0)", "KV_INIT ( Status=KV_NO_ERROR )"},
    };
    for (const auto& c : cases) {
        Bytes packet;
        ASSERT_EQ(kv::TranslateLine(c.written, names, packet), VI_SUCCESS) << c.written;
        EXPECT_EQ(Command(packet, names), c.shown);
    }
}

}  // namespace

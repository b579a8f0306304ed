// Text lines into packets: the exact bytes each line gives, and the lines
// that must be refused, against tables the test controls.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kvvisa/visa.h"
#include "tcs_fake_names.h"
#include "tcs_line.h"

namespace {

using kvtest::FakeProtocolNames;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (const std::uint8_t b : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%s%02x", text.empty() ? "" : " ", b);
        text += digits;
    }
    return text;
}

// The packet a line gives, as hexadecimal bytes; "refused" when it gives none.
std::string Translate(std::string_view line,
                      const FakeProtocolNames& names = FakeProtocolNames::Usual()) {
    std::vector<std::uint8_t> packet{0xEE};
    const ViStatus status = kv::TranslateLine(line, names, packet);
    if (status == VI_ERROR_INV_FMT && packet.empty()) return "refused";
    if (status != VI_SUCCESS) return "status " + std::to_string(status);
    return Hex(packet);
}

TEST(TcsLine, SetLineTakesTheParametersFormat) {
    // FlagA 1, FlagB 0x20, BodyLen 4, Status 0x8000; ParamId 3, value 5.
    EXPECT_EQ(Translate("P_MODE = 5"),
              "aa 55 03 00 00 80 04 00 01 20 00 00 00 00 00 00 03 00 05 00");
    // Case, blanks and tabs do not matter.
    EXPECT_EQ(Translate(" \tp_Mode\t=5 "),
              "aa 55 03 00 00 80 04 00 01 20 00 00 00 00 00 00 03 00 05 00");
}

TEST(TcsLine, GetWithoutValuesCarriesOnlyTheParameter) {
    EXPECT_EQ(Translate("P_MODE ?"), "aa 55 04 00 00 80 02 00 00 20 00 00 00 00 00 00 03 00");
}

TEST(TcsLine, BodyIsRoundedUpToAnEvenLength) {
    EXPECT_EQ(Translate("P_AVERAGING = 1 2 3"),
              "aa 55 03 00 00 80 06 00 03 10 00 00 00 00 00 00 04 00 01 02 03 00");
}

TEST(TcsLine, NumbersInEveryAcceptedForm) {
    // Four bytes of which two are fraction: x * 65536.
    EXPECT_EQ(Translate("P_LOG_KOEF = -1.5 0x1F 2.5e1 25e-1 3."),
              "aa 55 03 00 00 80 16 00 05 42 00 00 00 00 00 00 5e 00 "
              "00 80 fe ff 00 00 1f 00 00 00 19 00 00 80 02 00 00 00 03 00");
    EXPECT_EQ(Translate("P_RRS_FREQUENCY = 1000000000"),
              "aa 55 03 00 00 80 08 00 01 60 00 00 00 00 00 00 38 00 00 ca 9a 3b 00 00");
}

TEST(TcsLine, OverridesSetHeaderFields) {
    EXPECT_EQ(Translate("KV_RESET (id=7 status=0)"),
              "aa 55 01 00 00 00 00 00 00 00 00 00 07 00 00 00");
    EXPECT_EQ(Translate("kv_reset ( ID = 0x1f  Dummy=-1 SIGNATURE=0x1234 a=2 b=0X21 )"),
              "34 12 01 00 00 80 00 00 02 21 ff ff 1f 00 00 00");
    // A key without a value and a key that names no field are ignored.
    EXPECT_EQ(Translate("KV_RESET (id colour=3 status=-32767)"),
              "aa 55 01 00 01 80 00 00 00 00 00 00 00 00 00 00");
    // flagb/flaga override what the parameter and the count would give.
    EXPECT_EQ(Translate("P_MODE (flagb=0x10 flaga=9) = 1 2"),
              "aa 55 03 00 00 80 04 00 09 10 00 00 00 00 00 00 03 00 01 02");
}

TEST(TcsLine, ExplicitBodyLength) {
    // A parameter without a known format: the width follows from the length.
    EXPECT_EQ(Translate("P_FREQUENCY (bodylen=14) = 1000000000 -1"),
              "aa 55 03 00 00 80 0e 00 02 60 00 00 00 00 00 00 00 00 "
              "00 ca 9a 3b 00 00 ff ff ff ff ff ff");
    // Without a length it carries no value bytes.
    EXPECT_EQ(Translate("P_FREQUENCY = 7 8"),
              "aa 55 03 00 00 80 02 00 02 00 00 00 00 00 00 00 00 00");
    // A shorter body than the values need holds what fits and no more.
    EXPECT_EQ(Translate("P_MODE (bodylen=3) = 5 6"),
              "aa 55 03 00 00 80 03 00 02 20 00 00 00 00 00 00 03 00 05");
    EXPECT_EQ(Translate("P_MODE (bodylen=0) = 5"), "aa 55 03 00 00 80 00 00 01 20 00 00 00 00 00 00");
    // A plain command's body is zeros.
    EXPECT_EQ(Translate("KV_RUN (bodylen=3)"),
              "aa 55 06 00 00 80 03 00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST(TcsLine, TheMostValuesFlagACanCount) {
    std::string line = "P_AVERAGING =";
    for (int i = 0; i < 255; ++i) line += " 1";
    std::vector<std::uint8_t> packet;
    ASSERT_EQ(kv::TranslateLine(line, FakeProtocolNames::Usual(), packet), VI_SUCCESS);
    ASSERT_EQ(packet.size(), 16u + 258u);
    EXPECT_EQ(packet[8], 255);
    EXPECT_EQ(Translate(line + " 1"), "refused");
}

TEST(TcsLine, LinesTheProtocolCannotCarryAreRefused) {
    // The grammar's own refusals are tested with the grammar; one stands for them.
    const char* const lines[] = {
        "P_MODE = 1x",                     // not a line of the grammar
        "NO_SUCH_COMMAND",                 // unknown plain command
        "NO_SUCH_PARAMETER = 1",           // unknown parameter
        "P_FREQUENCY (bodylen=2) = 1",     // less than one byte per value
        "P_FREQUENCY (bodylen=50) = 1 2",  // more bytes per value than FlagB holds
    };
    for (const char* line : lines) EXPECT_EQ(Translate(line), "refused") << line;
}

TEST(TcsLine, HostileTablesNeverOverrun) {
    FakeProtocolNames names;
    names.commands = {{"BIG", 0x10000}, {"NEG", -5}, {"", 4}};
    names.parameters = {{"WIDE", 1, 15, 15}, {"NEGATIVE", 2, -1, -1}, {"WRAPS", 3, 16, 0},
                        {"FAR", 0x10000, 2, 0}};
    EXPECT_EQ(Translate("BIG", names), "refused");
    EXPECT_EQ(Translate("NEG", names), "refused");
    EXPECT_EQ(Translate("FAR = 1", names), "refused");
    // A line needs a name, whatever names the library's tables hold.
    EXPECT_EQ(Translate("(id=1)", names), "refused");
    // Fifteen bytes per value with fifteen fraction bytes: no crash, exact size.
    std::vector<std::uint8_t> packet;
    ASSERT_EQ(kv::TranslateLine("WIDE = 1 -2.5 1e300", names, packet), VI_SUCCESS);
    EXPECT_EQ(packet[9], 0xFF);
    EXPECT_EQ(packet.size(), 16u + 48u);
    // -1 * 16 - 1 as a byte: 0xEF.
    ASSERT_EQ(kv::TranslateLine("NEGATIVE = 1", names, packet), VI_SUCCESS);
    EXPECT_EQ(packet[9], 0xEF);
    EXPECT_EQ(packet.size(), 16u + 16u);
    // 16 * 16 wraps to 0: taken as no known format.
    EXPECT_EQ(Translate("WRAPS = 1", names), "aa 55 03 00 00 80 02 00 01 00 00 00 00 00 00 00 03 00");
}

}  // namespace

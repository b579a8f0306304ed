// The text layer's line grammar: what each accepted line holds, and for each
// refused line the part at fault and the message that names it.
#include "tcs_grammar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quoted_text.h"

namespace kv {
namespace {

struct GoodLine {
    std::string line;
    std::string name;
    ELineKind kind;
    std::vector<double> values;
    std::vector<std::string> ignoredKeys;
};

TEST(TcsGrammar, AcceptsEveryFormOfTheGrammar) {
    const GoodLine cases[] = {
        {"KV_RESET", "KV_RESET", ELineKind::Command, {}, {}},
        {"  kv_reset\t", "kv_reset", ELineKind::Command, {}, {}},
        {"P_MODE = 3", "P_MODE", ELineKind::Set, {3}, {}},
        {"P_MODE=3", "P_MODE", ELineKind::Set, {3}, {}},
        {"P_MODE ?", "P_MODE", ELineKind::Get, {}, {}},
        {"P_MODE?", "P_MODE", ELineKind::Get, {}, {}},
        {"P_MODE =", "P_MODE", ELineKind::Set, {}, {}},
        {"P_FREQUENCY = 1e9 -2.5 0x1F 7e-3 -0", "P_FREQUENCY", ELineKind::Set,
         {1e9, -2.5, 31, 7e-3, -0.0}, {}},
        // The exponent in either case and with a sign; a point without digits.
        {"P_LIST = 1E5 1e+5 5. 2.5E-1", "P_LIST", ELineKind::Set, {1e5, 1e5, 5, 0.25}, {}},
        {"P_MODE (id=7 status=0) = 3", "P_MODE", ELineKind::Set, {3}, {}},
        {"P_MODE(ID = 0xff B=0X20)=3", "P_MODE", ELineKind::Set, {3}, {}},
        {"P_MODE ( ) ?", "P_MODE", ELineKind::Get, {}, {}},
        // Keys without a value and keys that name no field are ignored.
        {"P_MODE (id stauts=0 colour=0x1f) = 3", "P_MODE", ELineKind::Set, {3},
         {"id", "stauts", "colour"}},
        {"KV_RESET (Dummy)", "KV_RESET", ELineKind::Command, {}, {"Dummy"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const LineParse parsed = ParseLine(c.line);
        ASSERT_TRUE(std::holds_alternative<SLine>(parsed)) << std::get<SLineProblem>(parsed).message;
        const auto& line = std::get<SLine>(parsed);
        EXPECT_EQ(line.name, c.name);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.values, c.values);
        EXPECT_EQ(line.ignoredKeys, c.ignoredKeys);
    }
}

struct FieldCase {
    std::string line;
    EHeaderField field;
    std::uint32_t value;
};

TEST(TcsGrammar, HeaderValuesInEveryFormAndAtTheirLimits) {
    const FieldCase cases[] = {
        {"X (id=7)", kFieldId, 7},
        {"X (ID=0x1f)", kFieldId, 0x1F},
        {"X (id=0X1F)", kFieldId, 0x1F},
        {"X (id=4294967295)", kFieldId, 0xFFFFFFFF},
        {"X (id=-2147483648)", kFieldId, 0x80000000},
        {"X (status=-1)", kFieldStatus, 0xFFFFFFFF},
        {"X (signature=0x1234)", kFieldSignature, 0x1234},
        {"X (bodylen=65535)", kFieldBodyLen, 65535},
        {"X (a=255)", kFieldFlagA, 255},
        {"X (flaga=0)", kFieldFlagA, 0},
        {"X (b=-128)", kFieldFlagB, static_cast<std::uint32_t>(-128)},
        {"X (flagb=0x60)", kFieldFlagB, 0x60},
        {"X (dummy=65535)", kFieldDummy, 65535},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const LineParse parsed = ParseLine(c.line);
        ASSERT_TRUE(std::holds_alternative<SLine>(parsed)) << std::get<SLineProblem>(parsed).message;
        const auto& fields = std::get<SLine>(parsed).fields;
        for (std::size_t f = 0; f < kHeaderFieldCount; ++f) {
            if (f == c.field) {
                EXPECT_EQ(fields[f], c.value);
            } else {
                EXPECT_FALSE(fields[f].has_value()) << "field " << f;
            }
        }
    }
}

TEST(TcsGrammar, AcceptsAsManyValuesAsFlagAHolds) {
    std::string line = "P_LIST =";
    for (int i = 0; i < 255; ++i) line += " 1";
    EXPECT_TRUE(std::holds_alternative<SLine>(ParseLine(line)));
    // Not even a FlagA given by hand makes room for more.
    EXPECT_TRUE(std::holds_alternative<SLineProblem>(ParseLine("P_LIST (a=1) =" + line.substr(8) + " 2")));
}

struct BadLine {
    std::string line;
    std::string token;
    std::string message;
};

TEST(TcsGrammar, NamesTheOffendingTokenOfHostileLines) {
    std::string tooMany = "P_LIST =";
    for (int i = 0; i < 255; ++i) tooMany += " 1";
    tooMany += " 42";
    const BadLine cases[] = {
        {"P_MODE = 3x", "3x", "\"3x\" is not a number"},
        {"P_MODE = 1 2,5", "2,5", "\"2,5\" is not a number"},
        {"P_MODE = 0x1f", "0x1f", "\"0x1f\": hexadecimal digits must be upper-case"},
        {"P_MODE = 0x", "0x", "\"0x\" is not a number"},
        {"P_MODE = 0X1F", "0X1F", "\"0X1F\" is not a number"},
        {"P_MODE = +5", "+5", "\"+5\" is not a number"},
        {"P_MODE = -", "-", "\"-\" is not a number"},
        {"P_MODE = 1e", "1e", "\"1e\" is not a number"},
        {"P_MODE = e5", "e5", "\"e5\" is not a number"},
        {"P_MODE = .5", ".5", "\".5\" is not a number"},
        {"P_MODE = 1-2", "1-2", "\"1-2\" is not a number"},
        {"P_MODE = --1", "--1", "\"--1\" is not a number"},
        {"P_MODE = 1e999", "1e999", "\"1e999\" is beyond the range of a number"},
        {"P_MODE = 0x1FFFFFFFFFFFFFFFF", "0x1FFFFFFFFFFFFFFFF",
         "\"0x1FFFFFFFFFFFFFFFF\" is beyond the range of a number"},
        {"P_MODE ? = 3", "=", "\"=\" is not a number"},
        {"P_MODE = 3 # set", "#", "\"#\" is not a number"},
        {"P-MODE = 3", "P-MODE", "\"P-MODE\": a name has only letters, digits and \"_\""},
        {"= 3", "=", "\"=\": a line starts with a command or parameter name"},
        {"(id=1) KV_RESET", "(id=1)", "\"(id=1)\": a line starts with a command or parameter name"},
        {"KV_RESET now", "now", "\"now\": expected \"=\", \"?\" or the end of the line"},
        {"P_MODE (id=1) 3", "3", "\"3\": expected \"=\", \"?\" or the end of the line"},
        {"P_MODE (id=1 = 3", "=", "\"=\": a header field name has only letters"},
        {"P_MODE (id=1", "(id=1", "\"(id=1\": \"(\" without \")\""},
        {"P_MODE (id", "(id", "\"(id\": \"(\" without \")\""},
        {"P_MODE (id=) = 3", "id", "\"id\": header field without a value after \"=\""},
        {"P_MODE (id=", "id", "\"id\": header field without a value after \"=\""},
        {"P_MODE (7=1) = 3", "7=1", "\"7=1\": a header field name has only letters"},
        {"P_MODE (_id=1) = 3", "_id=1", "\"_id=1\": a header field name has only letters"},
        {"P_MODE (id7=1) = 3", "id7=1", "\"id7=1\": a header field name has only letters"},
        {"P_MODE (id=7,status=0) = 3", "7,status=0", "\"7,status=0\" is not a number"},
        {"P_MODE (id=-0x5) = 3", "-0x5", "\"-0x5\" is not a number"},
        {"P_MODE (id=0x) = 3", "0x", "\"0x\" is not a number"},
        {"P_MODE (id=12ab) = 3", "12ab", "\"12ab\" is not a number"},
        // A key that names no field still needs a well-formed value.
        {"P_MODE (colour=red) = 3", "red", "\"red\" is not a number"},
        {"P_MODE (flaga=256) = 3", "256", "\"256\": flaga holds 0 to 255"},
        {"P_MODE (b=-129) = 3", "-129", "\"-129\": b holds -128 to 255"},
        {"P_MODE (A=-1) = 3", "-1", "\"-1\": a holds 0 to 255"},
        {"P_MODE (bodylen=65536) = 3", "65536", "\"65536\": bodylen holds 0 to 65535"},
        {"P_MODE (bodylen=-1) = 3", "-1", "\"-1\": bodylen holds 0 to 65535"},
        {"P_MODE (status=0x10000) = 3", "0x10000", "\"0x10000\": status holds -32768 to 65535"},
        {"P_MODE (id=4294967296) = 3", "4294967296",
         "\"4294967296\": id holds -2147483648 to 4294967295"},
        {"P_MODE (id=99999999999999999999999) = 3", "99999999999999999999999",
         "\"99999999999999999999999\": id holds -2147483648 to 4294967295"},
        {tooMany, "42", "\"42\": more than 255 values in one line"},
        {"", "", "the line is empty"},
        {" \t", "", "the line is empty"},
        {"P_MODE = 3\r", "3\r", "\"3\\x0D\" is not a number"},
        {"P_MODE = \x01\xff", "\x01\xff", "\"\\x01\\xFF\" is not a number"},
        {"P_MODE\xd0\x9c = 3", "P_MODE\xd0\x9c",
         "\"P_MODE\\xD0\\x9C\": a name has only letters, digits and \"_\""},
        {std::string("P_MODE = 1\0002", 12), std::string("1\0002", 3), "\"1\\x002\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Quoted(c.line, 200));
        const LineParse parsed = ParseLine(c.line);
        ASSERT_TRUE(std::holds_alternative<SLineProblem>(parsed));
        const auto& problem = std::get<SLineProblem>(parsed);
        EXPECT_EQ(problem.token, c.token);
        EXPECT_EQ(problem.message, c.message);
    }
}

TEST(TcsGrammar, CutsHugeTokensInMessages) {
    const std::string garbage(100000, 'x');
    const LineParse parsed = ParseLine("P_MODE = " + garbage);
    ASSERT_TRUE(std::holds_alternative<SLineProblem>(parsed));
    const auto& problem = std::get<SLineProblem>(parsed);
    EXPECT_EQ(problem.token, garbage);
    EXPECT_EQ(problem.message, "\"" + std::string(60, 'x') + "...\" is not a number");
}

}  // namespace
}  // namespace kv

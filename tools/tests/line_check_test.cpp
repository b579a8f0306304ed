#include "line_check.h"

#include <gtest/gtest.h>

#include <string>

namespace kvtalk {
namespace {

struct GoodLine {
    std::string line;
    std::string name;
    ELineKind kind;
    std::size_t values;
    bool bodyLen;
};

TEST(LineCheck, AcceptsEveryFormOfTheGrammar) {
    const GoodLine cases[] = {
        {"KV_RESET", "KV_RESET", ELineKind::Command, 0, false},
        {"  kv_reset\t", "kv_reset", ELineKind::Command, 0, false},
        {"P_MODE = 3", "P_MODE", ELineKind::Set, 1, false},
        {"P_MODE=3", "P_MODE", ELineKind::Set, 1, false},
        {"P_MODE ?", "P_MODE", ELineKind::Get, 0, false},
        {"P_MODE?", "P_MODE", ELineKind::Get, 0, false},
        {"P_FREQUENCY = 1e9 -2.5 0x1F 7e-3 -0", "P_FREQUENCY", ELineKind::Set, 5, false},
        {"P_MODE (id=7 status=0) = 3", "P_MODE", ELineKind::Set, 1, false},
        {"P_MODE(ID = 0xff B=0x20)=3", "P_MODE", ELineKind::Set, 1, false},
        {"P_MODE (flagb=-128 status=-32768) = 3", "P_MODE", ELineKind::Set, 1, false},
        {"P_MODE ( ) ?", "P_MODE", ELineKind::Get, 0, false},
        {"KV_RUN (bodylen=4 status=-1 id=4294967295 dummy=65535)", "KV_RUN", ELineKind::Command,
         0, true},
        {"P_X (bodylen=10) = 1 2", "P_X", ELineKind::Set, 2, true},
        {"P_MODE =", "P_MODE", ELineKind::Set, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto checked = CheckLine(c.line);
        ASSERT_TRUE(std::holds_alternative<LineShape>(checked))
            << std::get<LineProblem>(checked).message;
        const auto& shape = std::get<LineShape>(checked);
        EXPECT_EQ(shape.name, c.name);
        EXPECT_EQ(shape.kind, c.kind);
        EXPECT_EQ(shape.valueCount, c.values);
        EXPECT_EQ(shape.bodyLenGiven, c.bodyLen);
    }
}

TEST(LineCheck, AcceptsAsManyValuesAsFlagAHolds) {
    std::string line = "P_LIST =";
    for (int i = 0; i < 255; ++i) line += " 1";
    EXPECT_TRUE(std::holds_alternative<LineShape>(CheckLine(line)));
    // Not even a FlagA given by hand makes room for more.
    EXPECT_TRUE(std::holds_alternative<LineProblem>(CheckLine("P_LIST (a=1) =" + line.substr(8) + " 2")));
}

struct BadLine {
    std::string line;
    std::string token;
    std::string message;
};

TEST(LineCheck, NamesTheOffendingTokenOfHostileLines) {
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
        {"P_MODE = 1E5", "1E5", "\"1E5\": write the exponent as \"e\" or \"e-\" and digits"},
        {"P_MODE = 1e+5", "1e+5", "\"1e+5\": write the exponent as \"e\" or \"e-\" and digits"},
        {"P_MODE = 1e", "1e", "\"1e\" is not a number"},
        {"P_MODE = e5", "e5", "\"e5\" is not a number"},
        {"P_MODE = 5.", "5.", "\"5.\": a point must be followed by digits"},
        {"P_MODE = .5", ".5", "\".5\" is not a number"},
        {"P_MODE = 1-2", "1-2", "\"1-2\" is not a number"},
        {"P_MODE = --1", "--1", "\"--1\" is not a number"},
        {"P_MODE ? = 3", "=", "\"=\" is not a number"},
        {"P_MODE = 3 # set", "#", "\"#\" is not a number"},
        {"P-MODE = 3", "P-MODE", "\"P-MODE\": a name has only letters, digits and \"_\""},
        {"= 3", "=", "\"=\": a line starts with a command or parameter name"},
        {"(id=1) KV_RESET", "(id=1)", "\"(id=1)\": a line starts with a command or parameter name"},
        {"KV_RESET now", "now", "\"now\": expected \"=\", \"?\" or the end of the line"},
        {"P_MODE (id=1) 3", "3", "\"3\": expected \"=\", \"?\" or the end of the line"},
        {"P_MODE (id=1 = 3", "=", "\"=\": a header field name has only letters"},
        {"P_MODE (id=1", "(id=1", "\"(id=1\": \"(\" without \")\""},
        {"P_MODE (stauts=0) = 3", "stauts",
         "\"stauts\": unknown header field (known: signature, status, bodylen, flaga or a, "
         "flagb or b, id, dummy)"},
        {"P_MODE (id) = 3", "id", "\"id\": header field without \"=\" and a value"},
        {"P_MODE (id=) = 3", "id", "\"id\": header field without a value after \"=\""},
        {"P_MODE (id=", "id", "\"id\": header field without a value after \"=\""},
        {"P_MODE (7=1) = 3", "7=1", "\"7=1\": a header field name has only letters"},
        {"P_MODE (id=7,status=0) = 3", "7,status=0", "\"7,status=0\" is not a number"},
        {"P_MODE (id=-0x5) = 3", "-0x5", "\"-0x5\" is not a number"},
        {"P_MODE (flaga=256) = 3", "256", "\"256\": flaga holds 0 to 255"},
        {"P_MODE (b=-129) = 3", "-129", "\"-129\": b holds -128 to 255"},
        {"P_MODE (a=-1) = 3", "-1", "\"-1\": a holds 0 to 255"},
        {"P_MODE (status=0x10000) = 3", "0x10000", "\"0x10000\": status holds -32768 to 65535"},
        {"P_MODE (id=99999999999999999999999) = 3", "99999999999999999999999",
         "\"99999999999999999999999\": id holds -2147483648 to 4294967295"},
        {tooMany, "42", "\"42\": more than 255 values in one line"},
        {"", "", "the line is empty"},
        {"P_MODE = 3\r", "3\r", "\"3\\x0D\" is not a number"},
        {"P_MODE = \x01\xff", "\x01\xff", "\"\\x01\\xFF\" is not a number"},
        {"P_MODE\xd0\x9c = 3", "P_MODE\xd0\x9c",
         "\"P_MODE\\xD0\\x9C\": a name has only letters, digits and \"_\""},
        {std::string("P_MODE = 1\0002", 12), std::string("1\0002", 3), "\"1\\x002\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Quoted(c.line, 200));
        const auto checked = CheckLine(c.line);
        ASSERT_TRUE(std::holds_alternative<LineProblem>(checked));
        const auto& problem = std::get<LineProblem>(checked);
        EXPECT_EQ(problem.token, c.token);
        EXPECT_EQ(problem.message, c.message);
    }
}

TEST(LineCheck, CutsHugeTokensInMessages) {
    const std::string garbage(100000, 'x');
    const auto checked = CheckLine("P_MODE = " + garbage);
    ASSERT_TRUE(std::holds_alternative<LineProblem>(checked));
    const auto& problem = std::get<LineProblem>(checked);
    EXPECT_EQ(problem.token, garbage);
    EXPECT_EQ(problem.message, "\"" + std::string(60, 'x') + "...\" is not a number");
}

TEST(LineCheck, SkipsOnlyBlankAndCommentLines) {
    EXPECT_TRUE(IsBlankOrComment(""));
    EXPECT_TRUE(IsBlankOrComment(" \t "));
    EXPECT_TRUE(IsBlankOrComment("  # P_MODE = 3"));
    EXPECT_FALSE(IsBlankOrComment("P_MODE = 3 # set"));
    EXPECT_FALSE(IsBlankOrComment("\r"));
}

}  // namespace
}  // namespace kvtalk

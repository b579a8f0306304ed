// Resource strings: tokens, the well-formedness check, port numbers and the
// layer suffix, including strings no instrument name would ever look like.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "kvvisa/visa.h"
#include "resource_name.h"

namespace {

using Tokens = std::vector<std::string>;

std::string Repeat(const std::string& piece, size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(SplitResource, SplitsAtEveryDoubleColonAndKeepsSingleColons) {
    EXPECT_EQ(kv::SplitResource("A::B:C"), (Tokens{"A", "B:C"}));
    EXPECT_EQ(kv::SplitResource("A:::B"), (Tokens{"A", ":B"}));
    EXPECT_EQ(kv::SplitResource("ASRL1::INSTR"), (Tokens{"ASRL1", "INSTR"}));
    EXPECT_EQ(kv::SplitResource("TCPIP::h::500::SOCKET::SA"),
              (Tokens{"TCPIP", "h", "500", "SOCKET", "SA"}));
}

TEST(SplitResource, StringWithoutDoubleColonIsOneToken) {
    EXPECT_EQ(kv::SplitResource("ASRL1"), (Tokens{"ASRL1"}));
    EXPECT_EQ(kv::SplitResource("A:B"), (Tokens{"A:B"}));
    EXPECT_EQ(kv::SplitResource(""), (Tokens{""}));
}

TEST(SplitResource, FirstColonNotDoubledMakesTheStringMalformed) {
    EXPECT_TRUE(kv::SplitResource("A:B::C").empty());
    EXPECT_TRUE(kv::SplitResource("ASRL:1::INSTR").empty());
    EXPECT_TRUE(kv::SplitResource("A::B:C::D").empty());  // malformed in the remainder too
}

TEST(SplitResource, TokensMayBeEmpty) {
    EXPECT_EQ(kv::SplitResource("::"), (Tokens{"", ""}));
    EXPECT_EQ(kv::SplitResource("A::::B"), (Tokens{"A", "", "B"}));
    EXPECT_EQ(kv::SplitResource("A::"), (Tokens{"A", ""}));
    EXPECT_EQ(kv::SplitResource("::A"), (Tokens{"", "A"}));
}

struct Accepted {
    const char* name;
    ViUInt16 type;
    const char* resourceClass;
};

TEST(CheckResource, AcceptsTheThreeFormsWithoutRegardToCaseOfPrefixAndClass) {
    const Accepted cases[] = {
        {"tcpip0::10.0.0.5::500::socket", VI_INTF_TCPIP, "SOCKET"},
        {"TCPIP::h::500::SOCKET::SA", VI_INTF_TCPIP, "SOCKET"},
        {"TCPIP12::instrument.local::8888::SOCKET", VI_INTF_TCPIP, "SOCKET"},
        {"ASRL1::INSTR", VI_INTF_ASRL, "INSTR"},
        {"asrl::Instr", VI_INTF_ASRL, "INSTR"},
        {"ASRL3::INSTR::HOOK", VI_INTF_ASRL, "INSTR"},
        {"USB::0::0::A1B2::RAW", VI_INTF_USB, "RAW"},
        {"usb7::12::34::a1b2::raw::TCS", VI_INTF_USB, "RAW"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto info = kv::CheckResource(c.name);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->interfaceType, c.type);
        EXPECT_EQ(info->resourceClass, c.resourceClass);
    }
}

TEST(CheckResource, RejectsWrongClassPortZeroMissingTokensAndForeignPrefixes) {
    const char* const cases[] = {
        "TCPIP::10.0.0.5::0::SOCKET",    // port 0
        "TCPIP::10.0.0.5::500::INSTR",   // wrong class
        "TCPIP::10.0.0.5::500",          // no class token
        "ASRL1X::INSTR",                 // junk after the board number
        "ASRL:1::INSTR",                 // single colon first
        "ASRL1",                         // one token only
        "COM1::INSTR",                   // unknown interface
        "USB::0::0::A1B2::INSTR",        // wrong class
        "USB::0::0::A1B2",               // no class token
        "GPIB0::1::INSTR",               // interface this library does not serve
        "ASRL1::SOCKET",                 // class of another interface
        "TCPIP::h::500::SOCKET:SA",      // class token "SOCKET:SA"
    };
    for (const char* name : cases) {
        EXPECT_FALSE(kv::CheckResource(name).has_value()) << name;
    }
}

TEST(CheckResource, TcpPortIsReadLikeAtol) {
    const auto port = [](const std::string& text) {
        return kv::CheckResource("TCPIP::h::" + text + "::SOCKET").has_value();
    };
    EXPECT_TRUE(port(" 500"));  // leading blanks skipped
    EXPECT_TRUE(port("500abc"));  // junk after the digits ignored
    EXPECT_TRUE(port("+7"));
    EXPECT_TRUE(port("-1"));  // only 0 is refused here; the transport judges the rest
    EXPECT_FALSE(port(""));
    EXPECT_FALSE(port("abc"));
    EXPECT_FALSE(port("00"));
    EXPECT_FALSE(port("-0"));
    EXPECT_FALSE(port("+0"));
    EXPECT_FALSE(port(" 0x50"));  // reads as 0
}

TEST(ParseDecimal, BlanksSignDigitsAndNothingElse) {
    EXPECT_EQ(kv::ParseDecimal("42"), 42);
    EXPECT_EQ(kv::ParseDecimal("  \t\n\v\f\r42"), 42);
    EXPECT_EQ(kv::ParseDecimal("+42"), 42);
    EXPECT_EQ(kv::ParseDecimal("-42"), -42);
    EXPECT_EQ(kv::ParseDecimal("42 43"), 42);
    EXPECT_EQ(kv::ParseDecimal("42x"), 42);
    EXPECT_EQ(kv::ParseDecimal("007"), 7);
    EXPECT_EQ(kv::ParseDecimal(""), 0);
    EXPECT_EQ(kv::ParseDecimal("   "), 0);
    EXPECT_EQ(kv::ParseDecimal("-"), 0);
    EXPECT_EQ(kv::ParseDecimal("+-1"), 0);
    EXPECT_EQ(kv::ParseDecimal("- 1"), 0);
    EXPECT_EQ(kv::ParseDecimal("x42"), 0);
}

TEST(ParseDecimal, StopsAtTheEndOfTheViewNotAtAZero) {
    const std::string text = "12345";
    EXPECT_EQ(kv::ParseDecimal(std::string_view(text).substr(0, 3)), 123);
}

TEST(ParseDecimal, OverflowSaturates) {
    EXPECT_EQ(kv::ParseDecimal("9223372036854775807"), LLONG_MAX);
    EXPECT_EQ(kv::ParseDecimal("9223372036854775808"), LLONG_MAX);
    EXPECT_EQ(kv::ParseDecimal(Repeat("9", 400)), LLONG_MAX);
    EXPECT_LE(kv::ParseDecimal("-" + Repeat("9", 400)), -LLONG_MAX);
}

TEST(LayerOf, LastTokenSelectsTheLayerCaseSensitively) {
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("ASRL1::INSTR::HOOK")), kv::ELayer::Hook);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("ASRL1::INSTR::TCS")), kv::ELayer::Tcs);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("TCPIP::h::1::SOCKET::SA")), kv::ELayer::Sa);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("TCPIP::h::1::SOCKET::HOOK::TCS")),
              kv::ELayer::Tcs);

    EXPECT_EQ(kv::LayerOf(kv::SplitResource("ASRL1::INSTR::hook")), kv::ELayer::None);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("ASRL1::INSTR::Tcs")), kv::ELayer::None);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("TCPIP::h::1::SOCKET::sa")), kv::ELayer::None);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("ASRL1::INSTR::HOOK ")), kv::ELayer::None);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("ASRL1::INSTR::HOOK::")), kv::ELayer::None);
    EXPECT_EQ(kv::LayerOf(kv::SplitResource("ASRL1::INSTR")), kv::ELayer::None);
    EXPECT_EQ(kv::LayerOf(Tokens{}), kv::ELayer::None);
}

TEST(WithoutLastToken, RemovesOnlyTheTrailingLayerToken) {
    struct Case {
        const char* name;
        std::string_view token;
        const char* inner;
    };
    const Case cases[] = {
        {"TCPIP::HOOKLAB7::5025::SOCKET::HOOK", kv::kHookToken, "TCPIP::HOOKLAB7::5025::SOCKET"},
        {"TCPIP::TCSLAB::5025::SOCKET::TCS", kv::kTcsToken, "TCPIP::TCSLAB::5025::SOCKET"},
        {"TCPIP::h::1::SOCKET::HOOK::TCS", kv::kTcsToken, "TCPIP::h::1::SOCKET::HOOK"},
        {"TCPIP::h::1::SOCKET::HOOK::HOOK", kv::kHookToken, "TCPIP::h::1::SOCKET::HOOK"},
        {"ASRL1::INSTR::XHOOK", kv::kHookToken, "ASRL1::INSTR::XHOOK"},
        {"ASRL1::INSTR::HOOK::TCS", kv::kHookToken, "ASRL1::INSTR::HOOK::TCS"},
        {"HOOK", kv::kHookToken, "HOOK"},
        {"::HOOK", kv::kHookToken, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kv::WithoutLastToken(c.name, c.token), c.inner) << c.name;
    }
}

TEST(ToUpper, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(kv::ToUpper("socket"), "SOCKET");
    EXPECT_EQ(kv::ToUpper("a1:b\xe9z"), "A1:B\xe9Z");
}

struct Hostile {
    std::string name;
    bool accepted;
};

// Nothing a caller passes may crash the check; each verdict is the one the
// rules give.
TEST(CheckResource, HostileStringsGetAVerdictWithoutCrashing) {
    const std::string longToken(100000, 'a');
    const Hostile cases[] = {
        {"", false},
        {":", false},
        {"::", false},
        {":::", false},
        {Repeat(":", 9999), false},
        {Repeat("::", 5000), false},
        {"ASRL1::INSTR" + Repeat("::", 5000), true},  // tokens after the class are not checked
        {"ASRL1::INSTR" + Repeat("::x", 5000), true},
        {Repeat("ASRL1::", 3000) + "INSTR", false},  // class token is "ASRL1"
        {longToken, false},
        {longToken + "::INSTR", false},
        {"ASRL" + std::string(10000, '1') + "::INSTR", true},  // board number is not evaluated
        {"TCPIP::" + longToken + "::80::SOCKET", true},        // host is not checked here
        {"TCPIP::h::80::" + longToken, false},
        {"\xff\xfe::INSTR", false},
        {"ASRL1::INSTR\xff", false},
        {"ASRL\xb9::INSTR", false},
        {"TCPIP::\xc3\xa9::80::SOCKET", true},
        {"%s%n%s%n::INSTR", false},
        {"ASRL1::%s%n", false},
        {"TCPIP::%s%n::80::SOCKET", true},
        {"TCPIP::h::%n::SOCKET", false},
        {"TCPIP::h::99999999999999999999999999::SOCKET", true},
        {"TCPIP::h::4294967296::SOCKET", true},
        {"TCPIP::h::-99999999999999999999999999::SOCKET", true},
        {"TCPIP::h::-0::SOCKET", false},
        {"TCPIP::h::0000000000000000000000000::SOCKET", false},
        {" ASRL1::INSTR", false},
        {"ASRL1 ::INSTR", false},
        {"ASRL1::INSTR ", false},
        {"ASRL1:: INSTR", false},
        {"ASRL1::\tINSTR", false},
        {"ASRL1\r\n::INSTR", false},
        {"ASRL-1::INSTR", false},
        {"ASRL+1::INSTR", false},
        {"1ASRL::INSTR", false},
        {std::string("ASRL1\0::INSTR", 13), false},
        {std::string("ASRL1::INSTR\0junk", 17), false},
        {"TCPIP::::80::SOCKET", true},  // empty host is a transport failure, not a name error
        {"USB::::::::RAW", true},
        {"USB::::::RAW", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.substr(0, 60));
        EXPECT_EQ(kv::CheckResource(c.name).has_value(), c.accepted);
    }
}

// Joining the tokens with "::" gives the string back, so no byte is lost or
// invented whatever the input looks like.
TEST(SplitResource, TokensJoinBackToTheInput) {
    const std::string inputs[] = {
        "A::B:C", "A:::B", "::", "::::::", "A::::", Repeat("x::", 2000) + "y",
        "TCPIP::h::500::SOCKET::SA", std::string("a\0::b", 5),
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.substr(0, 60));
        const auto tokens = kv::SplitResource(input);
        ASSERT_FALSE(tokens.empty());
        std::string joined = tokens.front();
        for (size_t i = 1; i < tokens.size(); ++i) joined += "::" + tokens[i];
        EXPECT_EQ(joined, input);
    }
}

}  // namespace

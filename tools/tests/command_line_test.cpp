#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_layer.h"

namespace kvtools {
namespace {

constexpr OptionSpec kSpecs[] = {
    {"--help", "-h", false},
    {"--timeout", "", true},
    {"--raw", "", false},
};

std::variant<CommandLine, std::string> Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "tool");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), kSpecs);
}

TEST(CommandLine, ReadsOptionsInEverySpellingAndPositionals) {
    const auto parsed = Parse({"-h", "--timeout", "200", "R1", "--timeout=300", "--", "--raw"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed));
    const auto& line = std::get<CommandLine>(parsed);
    EXPECT_TRUE(line.Has("--help"));
    EXPECT_FALSE(line.Has("--raw"));
    EXPECT_EQ(line.Value("--timeout"), "300");
    EXPECT_EQ(line.positionals, (std::vector<std::string>{"R1", "--raw"}));
}

TEST(CommandLine, ExplainsUsageErrors) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"-x", "R"}, "unknown option \"-x\""},
        {{"--timeout"}, "option \"--timeout\" needs a value"},
        {{"--raw=1"}, "option \"--raw\" takes no value"},
        {{"--help=yes"}, "option \"--help\" takes no value"},
    };
    for (const auto& [args, message] : cases) {
        const auto parsed = Parse(args);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << message;
        EXPECT_EQ(std::get<std::string>(parsed), message);
    }
}

TEST(CommandLine, MillisecondsArePlainDecimalsBelowInfinite) {
    EXPECT_EQ(ParseMilliseconds("0"), 0u);
    EXPECT_EQ(ParseMilliseconds("5000"), 5000u);
    EXPECT_EQ(ParseMilliseconds("4294967294"), 4294967294u);
    for (const char* bad : {"", "-1", "12a", " 5", "0x10", "4294967295", "4294967296", "1e3"}) {
        EXPECT_FALSE(ParseMilliseconds(bad).has_value()) << bad;
    }
}

TEST(ResourceLayer, RecognisesTheLastTokenInAnyCase) {
    EXPECT_TRUE(EndsWithLayer("TCPIP::h::8888::SOCKET::tcs", "TCS"));
    EXPECT_FALSE(EndsWithLayer("TCS", "TCS"));
    EXPECT_FALSE(EndsWithLayer("TCPIP::h::8888::SOCKET::XTCS", "TCS"));
    EXPECT_EQ(WithoutLayer(WithoutLayer("A::B::HOOK::TCS", "TCS"), "HOOK"), "A::B");
    EXPECT_EQ(WithoutLayer("A::B::SOCKET", "HOOK"), "A::B::SOCKET");
}

}  // namespace
}  // namespace kvtools

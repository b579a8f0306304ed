#include <gtest/gtest.h>

#include "core/command_line.h"

namespace coretest {
namespace {

using z5r::ParseCommandLine;
using z5r::SCommandLine;

TEST(CommandLineTest, SwitchesTakeTheFollowingArgument) {
    struct SCase {
        std::vector<std::string> args;
        SCommandLine expected;
    };
    const SCase cases[] = {
        {{}, {}},
        {{"-a", "10.0.0.5"}, {"10.0.0.5", ""}},
        {{"-a", "-p", "x"}, {"", "x"}},                       // no address, "-p x" still read
        {{"-a"}, {}},                                          // a switch at the end sets nothing
        {{"-a", "1.1.1.1", "-a", "2.2.2.2"}, {"2.2.2.2", ""}},  // the later one wins
        {{"-p", "profile", "-a", "3.3.3.3"}, {"3.3.3.3", "profile"}},
        {{"-p", "-a", "4.4.4.4"}, {"4.4.4.4", ""}},
        {{"-A", "5.5.5.5", "x", "-a"}, {}},                    // case matters; strays ignored
        {{"-a", "-a", "6.6.6.6"}, {"6.6.6.6", ""}},            // the value "-a" is looked at again
        {{"-a", "-x"}, {"-x", ""}},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(ParseCommandLine(c.args), c.expected) << ::testing::PrintToString(c.args);
    }
}

TEST(CommandLineTest, ArgvSkipsTheProgramName) {
    const char* argv[] = {"-a", "-a", "7.7.7.7", nullptr};
    EXPECT_EQ(ParseCommandLine(3, argv).startAddress, "7.7.7.7");
    EXPECT_EQ(ParseCommandLine(1, argv), SCommandLine{});
    EXPECT_EQ(ParseCommandLine(0, nullptr), SCommandLine{});
}

}  // namespace
}  // namespace coretest

// Both tools' command lines, seen from a script: help, version, usage errors
// and their exit codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_run.h"

namespace kvtools_test {
namespace {

class ToolCommandLine : public testing::TestWithParam<std::string> {
protected:
    std::string Tool() const { return GetParam(); }
    std::string Name() const { return Tool().substr(Tool().rfind('/') + 1); }
};

TEST_P(ToolCommandLine, HelpDocumentsUsageOptionsExamplesAndExitCodes) {
    for (const char* option : {"--help", "-h"}) {
        const auto run = RunTool({Tool(), option});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("Usage: " + Name() + " [OPTIONS] RESOURCE"), std::string::npos);
        for (const char* part : {"Options:", "Examples:", "Exit codes:", "  2  usage error",
                                 "  3  the "}) {
            EXPECT_NE(run.out.find(part), std::string::npos) << part;
        }
    }
}

TEST_P(ToolCommandLine, VersionIsOneLine) {
    const auto run = RunTool({Tool(), "--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Lines(run.out).size(), 1u);
    EXPECT_EQ(run.out.rfind(Name() + " ", 0), 0u) << run.out;
}

TEST_P(ToolCommandLine, UsageErrorsGoToStandardErrorWithExitCode2) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus", "R"}, "unknown option \"--bogus\""},
        {{}, "no resource given"},
        {{"A", "B"}, "more than one resource given"},
        {{"--help=1"}, "option \"--help\" takes no value"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> argv{Tool()};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto run = RunTool(argv);
        EXPECT_EQ(run.exitCode, 2) << message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(Name() + ": " + message + "\nUsage: " + Name(), 0), 0u) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(BothTools, ToolCommandLine, testing::Values(kKvtalk, kKvmon),
                         [](const auto& info) {
                             return info.param == std::string(kKvtalk) ? std::string("kvtalk")
                                                                       : std::string("kvmon");
                         });

TEST(KvtalkCommandLine, TimeOutMustBeMilliseconds) {
    for (const char* bad : {"soon", "-5", "4294967295"}) {
        const auto run = RunTool({kKvtalk, "--timeout", bad, "TCPIP::127.0.0.1::1::SOCKET"});
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_NE(run.err.find("\"" + std::string(bad) + "\" is not a time-out in ms"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace kvtools_test

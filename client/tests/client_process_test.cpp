// The real program, started as a process on the offscreen platform: it reads
// its arguments, holds its lock file while it runs, lets a second copy start,
// and ends cleanly when asked to stop.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "core/instance_lock.h"
#include "support/child_process.h"
#include "test_env.h"

namespace {

using z5r::CInstanceLock;
using z5r::kClientInstanceName;

// The program's surroundings: its own HOME, XDG folders and platform. The
// child inherits them from this process.
class ClientProcess : public ::testing::Test {
protected:
    ClientProcess() {
        std::filesystem::create_directories(dir_.Path() / "config");
        std::filesystem::create_directories(dir_.Path() / "runtime");
        chmod((dir_.Path() / "runtime").c_str(), 0700);
    }

    kvtest::ChildProcess Start(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), CLIENT_PROGRAM);
        kvtest::ChildOptions options;
        options.captureErrors = true;
        return kvtest::ChildProcess(arguments, options);
    }

    // The value the program reports for `name` ("startAddress") on standard
    // error after its window was created; nothing when it never does.
    static std::optional<std::string> Reported(kvtest::ChildProcess& child, const std::string& name) {
        const std::string prefix = name + "=";
        for (int lines = 0; lines < 50; ++lines) {
            const auto line = child.ReadErrorLine(10000);
            if (!line) return std::nullopt;
            if (line->rfind(prefix, 0) == 0) return line->substr(prefix.size());
        }
        return std::nullopt;
    }

    z5rtest::TempDir dir_;
    z5rtest::ScopedEnv home_{"HOME", dir_.Str()};
    z5rtest::ScopedEnv config_{"XDG_CONFIG_HOME", (dir_.Path() / "config").string()};
    z5rtest::ScopedEnv runtime_{"XDG_RUNTIME_DIR", (dir_.Path() / "runtime").string()};
    z5rtest::ScopedEnv platform_{"QT_QPA_PLATFORM", std::string("offscreen")};
    z5rtest::ScopedEnv diagnostics_{"Z5R_DIAG", std::string("1")};
    // "-a 127.0.0.1" makes the client connect: to a port nothing listens on,
    // so an instrument or simulator running on this machine is never touched.
    z5rtest::ScopedEnv port_{"Z5R_INSTRUMENT_PORT", std::string("1")};
};

TEST_F(ClientProcess, ReadsItsArgumentsHoldsTheLockAndEndsOnSigterm) {
    ASSERT_FALSE(CInstanceLock::IsHeld(kClientInstanceName));
    auto child = Start({"-a", "127.0.0.1", "-p", "x"});
    EXPECT_EQ(Reported(child, "displayName"), std::optional<std::string>("Программный комплекс Z5R"));
    EXPECT_EQ(Reported(child, "startAddress"), std::optional<std::string>("127.0.0.1"));
    EXPECT_EQ(Reported(child, "startProfileArg"), std::optional<std::string>("x"));
    EXPECT_TRUE(CInstanceLock::IsHeld(kClientInstanceName));

    child.Kill(SIGTERM);
    EXPECT_EQ(child.Wait(10000), 0);
    EXPECT_FALSE(CInstanceLock::IsHeld(kClientInstanceName));
}

TEST_F(ClientProcess, SwitchWithoutAValueSetsNothingAndASecondCopyStarts) {
    auto first = Start({"-a", "-p", "x"});
    EXPECT_EQ(Reported(first, "startAddress"), std::optional<std::string>(""));
    EXPECT_EQ(Reported(first, "startProfileArg"), std::optional<std::string>("x"));

    auto second = Start({"-p"});
    EXPECT_EQ(Reported(second, "startAddress"), std::optional<std::string>(""));
    EXPECT_EQ(Reported(second, "startProfileArg"), std::optional<std::string>(""));

    second.Kill(SIGTERM);
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_TRUE(CInstanceLock::IsHeld(kClientInstanceName));  // still the first one's
    first.Kill(SIGTERM);
    EXPECT_EQ(first.Wait(10000), 0);
    EXPECT_FALSE(CInstanceLock::IsHeld(kClientInstanceName));
}

}  // namespace

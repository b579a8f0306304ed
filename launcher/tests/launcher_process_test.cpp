// The launcher as a real process on the offscreen platform, copied into a
// folder of its own with a stand-in client: it holds its lock while it runs,
// shows the version it decided on, starts the client with its parameters
// split at blanks, and ends while the client goes on running.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/instance_lock.h"
#include "support/child_process.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockName = "Global\\KorvelZ5RClientLauncher";
constexpr int kLauncherEndMs = 15000;

// How the stand-in was started: its process id, its path and its arguments.
struct SStart {
    pid_t pid = -1;
    std::string program;
    std::vector<std::string> arguments;
};

class LauncherProcess : public ::testing::Test {
protected:
    LauncherProcess() {
        fs::create_directories(runtimeDir_);
        chmod(runtimeDir_.c_str(), 0700);
        fs::copy_file(LAUNCHER_PROGRAM, launcherPath_);
    }
    ~LauncherProcess() override {
        if (started_ && started_->pid > 0) kill(started_->pid, SIGKILL);
    }

    // The stand-in as `path`, carrying a version block with `fileVersion`.
    static void PutStandIn(const std::string& path, const std::string& fileVersion, const std::string& work) {
        const std::string block = work + "/block.bin";
        std::ofstream(block, std::ios::binary) << std::string("Z5R-VERSION-1") + '\0' + "FileVersion=" + fileVersion;
        const std::string command = std::string(OBJCOPY) + " --add-section .z5r_version='" + block + "' '" +
                                    STANDIN_PROGRAM + "' '" + path + "'";
        ASSERT_EQ(system(command.c_str()), 0) << command;
    }

    kvtest::ChildProcess Start(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), launcherPath_);
        kvtest::ChildOptions options;
        options.captureErrors = true;
        return kvtest::ChildProcess(arguments, options);
    }

    // The value reported for `name` on standard error.
    static std::optional<std::string> Reported(kvtest::ChildProcess& child, const std::string& name) {
        const std::string prefix = name + "=";
        for (int lines = 0; lines < 20; ++lines) {
            const auto line = child.ReadErrorLine(10000);
            if (!line) return std::nullopt;
            if (line->rfind(prefix, 0) == 0) return line->substr(prefix.size());
        }
        return std::nullopt;
    }

    // How the stand-in was started, once it has written it down.
    std::optional<SStart> StandInStart() {
        for (int tries = 0; tries < 100 && !fs::exists(record_); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        std::ifstream in(record_);
        std::string pid;
        if (!std::getline(in, pid)) return std::nullopt;
        SStart start;
        start.pid = static_cast<pid_t>(std::stol(pid));
        std::getline(in, start.program);
        for (std::string line; std::getline(in, line);) start.arguments.push_back(line);
        started_ = start;
        return start;
    }

    z5rtest::TempDir folder_;
    z5rtest::TempDir elsewhere_;
    std::string launcherPath_ = folder_.Str() + "/Launcher";
    std::string runtimeDir_ = elsewhere_.Str() + "/runtime";
    std::string record_ = elsewhere_.Str() + "/record";
    z5rtest::ScopedEnv runtime_{"XDG_RUNTIME_DIR", runtimeDir_};
    z5rtest::ScopedEnv platform_{"QT_QPA_PLATFORM", "offscreen"};
    z5rtest::ScopedEnv diagnostics_{"Z5R_DIAG", "1"};
    z5rtest::ScopedEnv recordFile_{"Z5R_STANDIN_RECORD", record_};
    std::optional<SStart> started_;
};

TEST_F(LauncherProcess, StartsTheClientBesideItWithItsParametersAndEndsWhileTheClientRuns) {
    PutStandIn(folder_.Str() + "/Client_Z5R.dat", "1.2.3.4", elsewhere_.Str());
    auto launcher = Start({"a", "b"});
    EXPECT_EQ(Reported(launcher, "version"), std::optional<std::string>("Версия 1.2"));
    EXPECT_TRUE(z5r::CInstanceLock::IsHeld(kLockName));

    EXPECT_EQ(launcher.Wait(kLauncherEndMs), 0);
    const auto start = StandInStart();
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(start->program, folder_.Str() + "/Client_Z5R.dat");
    EXPECT_EQ(start->arguments, (std::vector<std::string>{"a", "b"}));
    // The client outlives the launcher, in a session of its own, and does
    // not keep the launcher's lock.
    EXPECT_EQ(kill(start->pid, 0), 0);
    EXPECT_EQ(getsid(start->pid), start->pid);
    EXPECT_FALSE(z5r::CInstanceLock::IsHeld(kLockName));
}

TEST_F(LauncherProcess, TheConfigurationNamesAnAbsoluteClientPathAndTheVersion) {
    const std::string client = elsewhere_.Str() + "/other-client";
    PutStandIn(client, "1.2.3.4", elsewhere_.Str());
    std::ofstream(folder_.Str() + "/Z5R_Client.cfg") << "[File]\nname=" << client << "\n[Version]\nv=2.5\n";
    auto launcher = Start({"-a", "127.0.0.1", "two words"});
    EXPECT_EQ(Reported(launcher, "version"), std::optional<std::string>("Версия 2.5"));

    EXPECT_EQ(launcher.Wait(kLauncherEndMs), 0);
    const auto start = StandInStart();
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(start->program, client);
    EXPECT_EQ(start->arguments, (std::vector<std::string>{"-a", "127.0.0.1", "two", "words"}));
}

TEST_F(LauncherProcess, AMissingClientIsReported) {
    auto launcher = Start({});
    EXPECT_EQ(Reported(launcher, "message"),
              std::optional<std::string>("Файл Client_Z5R.dat не найден. Пожалуйста переустановите программу."));
    launcher.Kill(SIGKILL);
    EXPECT_FALSE(fs::exists(record_));
}

}  // namespace

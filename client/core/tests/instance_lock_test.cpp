// The running-program mark, seen from this process and from another one.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/instance_lock.h"
#include "temp_dir.h"

namespace coretest {
namespace {

using z5r::CInstanceLock;

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old;
        setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    }
    void TearDown() override {
        if (oldRuntime_.empty()) {
            unsetenv("XDG_RUNTIME_DIR");
        } else {
            setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
        }
    }

    // Whether a separate process finds the lock held.
    static bool HeldSeenFromAnotherProcess(const std::string& name) {
        const pid_t child = fork();
        if (child == 0) _exit(CInstanceLock::IsHeld(name) ? 1 : 0);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 1;
    }

    CTempDir runtime;
    std::string oldRuntime_;
};

TEST_F(InstanceLockTest, TheLockFileLivesInTheRuntimeFolder) {
    EXPECT_EQ(CInstanceLock::LockFilePath(z5r::kClientInstanceName), runtime / "KorvelZ5RClient.lock");
    EXPECT_EQ(CInstanceLock::LockFilePath("Global\\Name/x"), runtime / "Global_Name_x.lock");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(CInstanceLock::LockFilePath("KorvelZ5RClientLauncher"), "/tmp/KorvelZ5RClientLauncher.lock");
}

TEST_F(InstanceLockTest, HeldWhileTheObjectLivesAndReleasedAfterwards) {
    const std::string name = "KorvelZ5RClientTest";
    EXPECT_FALSE(CInstanceLock::IsHeld(name));
    {
        CInstanceLock lock(name);
        EXPECT_TRUE(lock.Owned());
        EXPECT_TRUE(std::filesystem::exists(lock.Path()));
        EXPECT_TRUE(CInstanceLock::IsHeld(name));
        EXPECT_TRUE(HeldSeenFromAnotherProcess(name));

        // A second instance starts normally, without the lock.
        CInstanceLock second(name);
        EXPECT_FALSE(second.Owned());
        EXPECT_TRUE(CInstanceLock::IsHeld(name));
    }
    EXPECT_FALSE(CInstanceLock::IsHeld(name));
    EXPECT_FALSE(HeldSeenFromAnotherProcess(name));
    // A file left behind does not count as a running program.
    EXPECT_TRUE(std::filesystem::exists(CInstanceLock::LockFilePath(name)));
}

TEST_F(InstanceLockTest, AnUnusableFolderDoesNotStopTheProgram) {
    setenv("XDG_RUNTIME_DIR", (runtime / "absent").c_str(), 1);
    CInstanceLock lock("KorvelZ5RClientTest");
    EXPECT_FALSE(lock.Owned());
    EXPECT_FALSE(CInstanceLock::IsHeld("KorvelZ5RClientTest"));
}

}  // namespace
}  // namespace coretest

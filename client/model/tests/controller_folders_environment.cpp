// The controller tests' user and program folders: a temporary folder per test
// program, emptied for each test, so connections read and disconnections write no real user
// files, and the default list holds the controls' initial settings.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "controller_folders.h"
#include "core/paths.h"
#include "initial_default_list.h"

namespace {

std::string root;

class CControllerFolders final : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/z5r_controller_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        root = root_;
        std::filesystem::create_directories(root_ + "/app");
        std::filesystem::create_directories(root_ + "/config");
        setenv("HOME", root_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
        z5r::SetApplicationDirOverride(root_ + "/app");
        ASSERT_TRUE(z5rtest::WriteInitialDefaultList(root_ + "/app"));
    }
    void TearDown() override {
        z5r::SetApplicationDirOverride("");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

private:
    std::string root_;
};

[[maybe_unused]] ::testing::Environment* const kFolders = ::testing::AddGlobalTestEnvironment(new CControllerFolders);

}  // namespace

namespace z5rtest {

void ResetControllerFolders() {
    std::error_code ignored;
    std::filesystem::remove_all(root + "/config/Korvel", ignored);
    ASSERT_TRUE(WriteInitialDefaultList(root + "/app"));
}

}  // namespace z5rtest

// The package as a user gets it: cpack makes the .deb from this build, it is
// unpacked into a temporary root, and the installed launcher, started there
// on the offscreen platform, starts the installed client, which connects to
// the simulated instrument through the installed driver and library.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/child_process.h"
#include "support/simulator_process.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAppDir = "usr/lib/z5r";

std::string OutputOf(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

std::string Content(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Processes running the program file `program` (there is at most the one
// this test caused).
std::vector<pid_t> ProcessesOf(const fs::path& program) {
    std::vector<pid_t> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code error;
        if (fs::read_symlink(entry.path() / "exe", error) == program) found.push_back(std::stoi(name));
    }
    return found;
}

// What the package holds and what it asks apt to install with it.
void ExpectTheApplicationFolderAndTheDependencies(const fs::path& root, const fs::path& package) {
    for (const char* file : {"Launcher", "Client_Z5R.dat", "libKorvelV8N.so", "libKvVISA.so.1", "libProtocolLib.so",
                             "libKvD2XX.so", "Protocol.xml", "config.xml", "config/config.xml", "default.z5p",
                             "secure", "z5r-sim", "kvtalk", "kvmon", "kvfind",
                             "locale/en/LC_MESSAGES/Client_Z5R.mo", "locale/ru/LC_MESSAGES/Client_Z5R.mo"}) {
        EXPECT_TRUE(fs::exists(root / kAppDir / file)) << file;
    }
    EXPECT_TRUE(fs::exists(root / "usr/include/kvvisa/visa.h"));
    EXPECT_NE(Content(root / "usr/share/applications/z5r-launcher.desktop").find("Exec=/usr/lib/z5r/Launcher\n"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(root / "usr/share/icons/hicolor/scalable/apps/z5r.svg"));
    EXPECT_NE(Content(root / "usr/share/doc/z5r/copyright").find("GNU GENERAL PUBLIC LICENSE"), std::string::npos);

    // No installed program searches the current folder for its libraries,
    // as an empty entry of its library path would make it.
    for (const auto& entry : fs::recursive_directory_iterator(root / "usr")) {
        if (!entry.is_regular_file() || entry.is_symlink()) continue;
        const std::string dynamic = OutputOf("readelf -d '" + entry.path().string() + "' 2>/dev/null");
        const std::size_t start = dynamic.find("runpath: [");
        if (start == std::string::npos) continue;
        const std::string path = dynamic.substr(start + 10, dynamic.find(']', start) - start - 10);
        EXPECT_FALSE(path.empty() || path.front() == ':' || path.back() == ':' || path.find("::") != std::string::npos)
            << entry.path() << ": " << path;
    }

    const std::string depends = OutputOf("dpkg-deb -f '" + package.string() + "' Depends");
    for (const char* dependency : {"libqt6widgets6", "libinih1", "libftdi1-2", "qt6-qpa-plugins", "libc6"}) {
        EXPECT_NE(depends.find(dependency), std::string::npos) << dependency << " in: " << depends;
    }
}

class InstalledProduct : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string pack = std::string("cpack -G DEB --config '") + CPACK_CONFIG + "' -B '" + work_.Str() +
                                 "/pkg' >'" + work_.Str() + "/cpack.log' 2>&1";
        ASSERT_EQ(system(pack.c_str()), 0) << Content(work_.Str() + "/cpack.log");
        for (const auto& entry : fs::directory_iterator(work_.Str() + "/pkg")) {
            if (entry.path().extension() == ".deb") package_ = entry.path();
        }
        ASSERT_FALSE(package_.empty());
        root_ = work_.Str() + "/root";
        ASSERT_EQ(system(("dpkg -x '" + package_.string() + "' '" + root_.string() + "'").c_str()), 0);
    }

    z5rtest::TempDir work_;
    fs::path package_;
    fs::path root_;
};

// Making the package takes a while: one case looks at it and runs what it
// installed.
TEST_F(InstalledProduct, HoldsTheApplicationFolderAndItsLauncherStartsAClientThatConnects) {
    ExpectTheApplicationFolderAndTheDependencies(root_, package_);

    drvtest::CSimulator sim;
    ASSERT_TRUE(sim.Started());
    const std::string home = work_.Str() + "/home";
    fs::create_directories(home + "/runtime");
    chmod((home + "/runtime").c_str(), 0700);
    z5rtest::ScopedEnv homeVariable("HOME", home);
    z5rtest::ScopedEnv config("XDG_CONFIG_HOME", home + "/config");
    z5rtest::ScopedEnv runtime("XDG_RUNTIME_DIR", home + "/runtime");
    z5rtest::ScopedEnv platform("QT_QPA_PLATFORM", "offscreen");
    z5rtest::ScopedEnv port("Z5R_INSTRUMENT_PORT", std::to_string(sim.Port()));
    z5rtest::ScopedEnv libraries("LD_LIBRARY_PATH", std::nullopt);

    kvtest::ChildProcess launcher({(root_ / kAppDir / "Launcher").string(), "-a", "127.0.0.1"});
    EXPECT_EQ(launcher.Wait(15000), 0);

    int connections = 0;
    for (int i = 0; i < 200 && connections == 0; ++i) {
        const auto state = sim.State();
        if (state.count("Connections")) connections = std::stoi(state.at("Connections"));
        if (connections == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_GE(connections, 1);

    const auto clients = ProcessesOf(root_ / kAppDir / "Client_Z5R.dat");
    EXPECT_EQ(clients.size(), 1u);
    for (const pid_t client : clients) kill(client, SIGTERM);
}

}  // namespace

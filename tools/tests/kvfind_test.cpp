// kvfind as a person runs it: serial ports mapped to pseudo-terminals, USB
// bridges of the scripted D2XX library, the network only in a namespace of
// the test's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/namespace_requirement.h"
#include "tool_run.h"

namespace kvtools_test {
namespace {

namespace fs = std::filesystem;

const std::string kBridgeLine = "USB::0::0::FT12AB34::RAW\t\tZ5R bridge";

class Kvfind : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("kvfind-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        pty_ = ptsname(master_);
        std::ofstream(folder_ / "ports.conf") << "default = off\nASRL7 = " << pty_ << "\n";
        std::ofstream(folder_ / "script") << "device FT12AB34 Z5R bridge\n";
        // What the tool inherits: the map, the scripted bridges, and the
        // scripted library ahead of any other in the loader's search.
        setenv("KVVISA_SERIAL_PORTS", (folder_ / "ports.conf").c_str(), 1);
        setenv("KV_FAKE_D2XX_SCRIPT", (folder_ / "script").c_str(), 1);
        setenv("LD_LIBRARY_PATH", KV_FAKE_D2XX_DIR, 1);
        unsetenv("KVVISA_D2XX_LIBRARY");
    }
    void TearDown() override {
        if (master_ >= 0) close(master_);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string SerialLine() const { return "ASRL7::INSTR\tfree\t" + pty_; }

    fs::path folder_;
    int master_ = -1;
    std::string pty_;
};

struct FindCase {
    std::vector<std::string> args;
    bool serial;
    bool bridge;
};

class KvfindExpression : public Kvfind, public testing::WithParamInterface<FindCase> {};

TEST_P(KvfindExpression, PrintsWhatTheSearchFindsSerialFirst) {
    std::vector<std::string> argv{kKvfind};
    argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
    const auto run = RunTool(argv);
    std::vector<std::string> expected;
    if (GetParam().serial) expected.push_back(SerialLine());
    if (GetParam().bridge) expected.push_back(kBridgeLine);
    EXPECT_EQ(Lines(run.out), expected);
    EXPECT_EQ(run.exitCode, expected.empty() ? 1 : 0);
    EXPECT_EQ(run.err, expected.empty() ? "kvfind: nothing found\n" : "");
}

INSTANTIATE_TEST_SUITE_P(Expressions, KvfindExpression,
                         testing::Values(FindCase{{}, true, true}, FindCase{{"ASRL"}, true, false},
                                         FindCase{{"W2T"}, false, true},
                                         FindCase{{"USB"}, false, true},
                                         FindCase{{"--", "TCPIP"}, false, false}));

TEST_F(Kvfind, HelpVersionAndUsageErrors) {
    const auto help = RunTool({kKvfind, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* part : {"Usage: kvfind [OPTIONS] [EXPRESSION]", "--network", "Exit codes:"}) {
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    }
    const auto version = RunTool({kKvfind, "-V"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("kvfind ", 0), 0u);
    for (const auto& [args, message] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"ASRL", "USB"}, "more than one expression given"},
             {{"--net"}, "unknown option \"--net\""}}) {
        std::vector<std::string> argv{kKvfind};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto run = RunTool(argv);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("kvfind: " + message + "\nUsage: kvfind", 0), 0u) << run.err;
    }
}

int RunIp(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"/usr/sbin/ip"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv).exitCode;
}

// A searcher namespace joined by a veth pair to one with a stand-in
// instrument; names carry the process id. Removed again whatever happened.
class NetworkLab {
public:
    NetworkLab()
        : searcher_("kvfinds" + std::to_string(getpid())),
          instruments_("kvfindi" + std::to_string(getpid())) {}
    ~NetworkLab() {
        responder_.reset();
        RunIp({"netns", "del", searcher_});
        RunIp({"netns", "del", instruments_});
        std::error_code ignored;
        fs::remove_all(Etc(), ignored);
    }
    NetworkLab(const NetworkLab&) = delete;
    NetworkLab& operator=(const NetworkLab&) = delete;

    bool Build() {
        // Names are read from this hosts file only; no name server is asked.
        fs::create_directories(Etc());
        std::ofstream(Etc() / "hosts") << "127.0.0.1 localhost\n10.214.1.2 z5r-find.test\n";
        std::ofstream(Etc() / "resolv.conf") << "";
        std::ofstream(Etc() / "nsswitch.conf") << "hosts: files\n";
        for (const auto& step : std::vector<std::vector<std::string>>{
                 {"netns", "add", searcher_},
                 {"netns", "add", instruments_},
                 {"-n", searcher_, "link", "set", "lo", "up"},
                 {"-n", searcher_, "link", "add", "s1", "type", "veth", "peer", "name", "r1",
                  "netns", instruments_},
                 {"-n", searcher_, "addr", "add", "10.214.1.1/24", "brd", "+", "dev", "s1"},
                 {"-n", instruments_, "addr", "add", "10.214.1.2/24", "brd", "+", "dev", "r1"},
                 {"-n", searcher_, "link", "set", "s1", "up"},
                 {"-n", instruments_, "link", "set", "r1", "up"}}) {
            if (RunIp(step) != 0) return false;
        }
        responder_ = std::make_unique<kvtest::ChildProcess>(std::vector<std::string>{
            "/usr/sbin/ip", "netns", "exec", instruments_, KV_DISCOVERY_RESPONDER,
            " 10.214.1.2\t8888\tZ5R generator\r\n"});
        return responder_->ReadLine(5000) == "ready";
    }
    ToolRun Run(const std::vector<std::string>& args) const {
        std::vector<std::string> argv{"/usr/sbin/ip", "netns", "exec", searcher_, kKvfind};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunTool(argv);
    }

private:
    fs::path Etc() const { return fs::path("/etc/netns") / searcher_; }

    std::string searcher_;
    std::string instruments_;
    std::unique_ptr<kvtest::ChildProcess> responder_;
};

// The broadcast goes out only inside namespaces made for this test, and
// only when asked for.
TEST_F(Kvfind, NetworkInstrumentsOnlyWithTheNetworkOption) {
    KV_REQUIRE_NAMESPACE_TOOLS(geteuid() != 0 ? "network namespaces need root" : "");
    KV_REQUIRE_NAMESPACE_TOOLS(access("/usr/sbin/ip", X_OK) != 0 ? "the ip tool is missing" : "");
    NetworkLab lab;
    ASSERT_TRUE(lab.Build()) << "the namespaces could not be built";
    const auto networked = lab.Run({"--network"});
    EXPECT_EQ(networked.exitCode, 0) << networked.err;
    EXPECT_EQ(Lines(networked.out),
              (std::vector<std::string>{SerialLine(), kBridgeLine,
                                        "TCPIP1::z5r-find.test::8888::SOCKET\tZ5R GENERATOR"}));
    const auto local = lab.Run({});
    EXPECT_EQ(Lines(local.out), (std::vector<std::string>{SerialLine(), kBridgeLine}));
}

}  // namespace
}  // namespace kvtools_test

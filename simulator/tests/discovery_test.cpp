// Discovery against the real simulator, each run inside a network namespace
// of its own (never on the machine's interfaces).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/namespace_requirement.h"

namespace {

std::string Tool(const std::vector<std::string>& candidates) {
    for (const auto& path : candidates) {
        if (access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

struct ProbeOutput {
    std::string raw;
    std::string port;
    std::vector<std::string> lines;

    // The rest of the first line starting with `prefix`, or "<missing>".
    std::string After(const std::string& prefix) const {
        for (const auto& line : lines) {
            if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
        }
        return "<missing>";
    }
};

ProbeOutput RunProbe(const std::vector<std::string>& extra) {
    const std::string unshare = Tool({"/usr/bin/unshare", "/bin/unshare"});
    const std::string ip = Tool({"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"});
    ProbeOutput output;
    if (unshare.empty() || ip.empty()) return output;
    std::vector<std::string> argv{unshare, "-n", Z5R_DISCOVERY_PROBE, ip, Z5R_SIM_PATH};
    argv.insert(argv.end(), extra.begin(), extra.end());
    kvtest::ChildProcess probe(argv);
    output.raw = probe.ReadRest(30000);
    EXPECT_EQ(probe.Wait(30000), 0) << output.raw;
    std::istringstream lines(output.raw);
    for (std::string line; std::getline(lines, line);) output.lines.push_back(line);
    const std::string ready = output.After("ready port=");
    output.port = ready.substr(0, ready.find(' '));
    return output;
}

TEST(SimulatorDiscoveryTest, AnswersWithTheAddressItWasReachedOn) {
    KV_REQUIRE_NAMESPACE_TOOLS(Tool({"/usr/bin/unshare", "/bin/unshare"}).empty() ? "unshare is missing" : "");
    const ProbeOutput output = RunProbe({});
    ASSERT_NE(output.port, "<missing>") << output.raw;
    const std::string expected = "127.0.0.1\\t" + output.port + "\\tZ5R Z5R-000123\\r\\n";
    // Stray datagrams got no answer, so the first reply is the one to "1".
    EXPECT_EQ(output.After("reply "), expected) << output.raw;
    EXPECT_EQ(output.After("broadcast-reply "), expected) << output.raw;
    EXPECT_EQ(output.After("tcp "), "status=0 id=77") << output.raw;
    EXPECT_EQ(output.After("exit="), "0") << output.raw;
}

TEST(SimulatorDiscoveryTest, LibrarySearchFindsTheSimulator) {
    KV_REQUIRE_NAMESPACE_TOOLS(Tool({"/usr/bin/unshare", "/bin/unshare"}).empty() ? "unshare is missing" : "");
    // The search lists serial ports first; a map without the default rule keeps
    // the machine's own ports out of the list.
    const std::string map = ::testing::TempDir() + "sim-discovery-serial-ports.conf";
    std::ofstream(map, std::ios::trunc) << "default = off\n";
    setenv("KVVISA_SERIAL_PORTS", map.c_str(), 1);
    const ProbeOutput output = RunProbe({KV_FIND_PROBE});
    unsetenv("KVVISA_SERIAL_PORTS");
    ASSERT_NE(output.port, "<missing>") << output.raw;
    EXPECT_EQ(output.After("find: find "), "status=0x00000000 count=1 list=yes") << output.raw;
    EXPECT_EQ(output.After("find: entry name="),
              "TCPIP1::10.9.0.1::" + output.port + "::SOCKET note=\\tZ5R Z5R-000123") << output.raw;
}

}  // namespace

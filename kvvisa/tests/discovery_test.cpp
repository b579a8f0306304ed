// Network discovery seen by an application: every search runs in network
// namespaces built per test (a searcher joined by veth pairs to a namespace of
// stand-in instruments), never on the machine's own interfaces.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "kvvisa/visa.h"
#include "netns/machine_namespace.h"
#include "support/child_process.h"
#include "support/namespace_requirement.h"

namespace {

namespace fs = std::filesystem;
using kvtest::ChildProcess;

constexpr int kProbeTimeoutMs = 20000;

std::string Tool(const std::vector<std::string>& candidates) {
    for (const auto& path : candidates) {
        if (access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}
std::string IpTool() { return Tool({"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"}); }
std::string UnshareTool() { return Tool({"/usr/bin/unshare", "/bin/unshare"}); }

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char code = text[++i];
        if (code == 't') out += '\t';
        else if (code == 'r') out += '\r';
        else if (code == 'n') out += '\n';
        else if (code == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else out += code;
    }
    return out;
}

struct Entry {
    std::string name;
    std::string note;  // the annotation, raw bytes
};

// What find_probe printed, decoded.
struct ProbeResult {
    std::string raw;
    std::optional<ViStatus> find;
    unsigned count = 0;
    bool listGiven = false;
    std::vector<Entry> entries;
    std::vector<ViStatus> next;
    std::optional<ViStatus> extra;
    std::optional<ViStatus> close;
    std::optional<unsigned> leftover;
    std::string canary;
};

ViStatus StatusField(const std::string& line) {
    const auto at = line.find("status=0x");
    return static_cast<ViStatus>(std::stoul(line.substr(at + 9), nullptr, 16));
}

ProbeResult ParseProbe(std::string raw) {
    ProbeResult result;
    result.raw = std::move(raw);
    std::istringstream lines(result.raw);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("find ", 0) == 0) {
            result.find = StatusField(line);
            unsigned count = 0;
            char list[4] = {};
            std::sscanf(line.c_str(), "find status=0x%*x count=%u list=%3s", &count, list);
            result.count = count;
            result.listGiven = std::string(list) == "yes";
        } else if (line.rfind("entry name=", 0) == 0) {
            const auto note = line.find(" note=");
            result.entries.push_back({Unescape(line.substr(11, note - 11)),
                                      Unescape(line.substr(note + 6))});
        } else if (line.rfind("next ", 0) == 0) {
            result.next.push_back(StatusField(line));
        } else if (line.rfind("extra ", 0) == 0) {
            result.extra = StatusField(line);
        } else if (line.rfind("close ", 0) == 0) {
            result.close = StatusField(line);
        } else if (line.rfind("leftover ", 0) == 0) {
            result.leftover = static_cast<unsigned>(std::stoul(line.substr(9)));
        } else if (line.rfind("canary ", 0) == 0) {
            result.canary = line.substr(7);
        }
    }
    return result;
}

ProbeResult RunProbe(const std::vector<std::string>& argv) {
    ChildProcess probe(argv);
    std::string output = probe.ReadRest(kProbeTimeoutMs);
    // A sanitizer finding in the library ends the probe with a failure code.
    EXPECT_EQ(probe.Wait(kProbeTimeoutMs), 0) << output;
    return ParseProbe(std::move(output));
}

// A searcher namespace with `links` veth pairs into an instrument namespace:
// link i joins 10.213.i.1 (searcher) and 10.213.i.2 (instruments). Reverse
// lookups in the searcher read only the hosts file given here. Everything is
// removed again on destruction, whatever happened in between.
class NetnsLab {
public:
    NetnsLab(int links, const std::string& hosts) {
        static std::atomic<int> serial{0};
        const std::string tag = std::to_string(getpid()) + "_" + std::to_string(serial++);
        searcher_ = "kvsrch" + tag;
        instruments_ = "kvinst" + tag;
        Build(links, hosts);
    }

    ~NetnsLab() {
        responders_.clear();  // they hold the instrument namespace
        if (searcherAdded_) Ip({"netns", "del", searcher_});
        if (instrumentsAdded_) Ip({"netns", "del", instruments_});
        std::error_code ignored;
        fs::remove_all(EtcDir(), ignored);
    }

    NetnsLab(const NetnsLab&) = delete;
    NetnsLab& operator=(const NetnsLab&) = delete;

    const std::string& Problem() const { return problem_; }

    // Starts a stand-in instrument and waits until it listens.
    bool StartResponder(const std::vector<std::string>& args) {
        std::vector<std::string> argv{IpTool(), "netns", "exec", instruments_,
                                      KV_DISCOVERY_RESPONDER};
        argv.insert(argv.end(), args.begin(), args.end());
        responders_.push_back(std::make_unique<ChildProcess>(argv));
        return responders_.back()->ReadLine(5000) == "ready";
    }

    ProbeResult Probe(const std::vector<std::string>& args) {
        std::vector<std::string> argv{IpTool(), "netns", "exec", searcher_, KV_FIND_PROBE};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProbe(argv);
    }

private:
    fs::path EtcDir() const { return fs::path("/etc/netns") / searcher_; }

    static int Ip(std::vector<std::string> args) {
        args.insert(args.begin(), IpTool());
        ChildProcess ip(args);
        ip.ReadRest(5000);
        return ip.Wait(5000);
    }

    bool Step(const std::vector<std::string>& args) {
        if (!problem_.empty()) return false;
        if (Ip(args) == 0) return true;
        problem_ = "ip";
        for (const auto& arg : args) problem_ += " " + arg;
        problem_ += " failed";
        return false;
    }

    void Build(int links, const std::string& hosts) {
        searcherAdded_ = Step({"netns", "add", searcher_});
        instrumentsAdded_ = Step({"netns", "add", instruments_});
        // Only what `ip netns exec` lays over /etc inside the searcher: names
        // come from this hosts file and no name server is ever asked.
        std::error_code error;
        fs::create_directories(EtcDir(), error);
        std::ofstream(EtcDir() / "hosts") << "127.0.0.1 localhost\n" << hosts;
        std::ofstream(EtcDir() / "resolv.conf") << "";
        std::ofstream(EtcDir() / "nsswitch.conf") << "hosts: files\n";
        if (error) problem_ = "cannot write " + EtcDir().string();

        // The searcher's loopback is up, so the search has to pass it over.
        Step({"-n", searcher_, "link", "set", "lo", "up"});
        Step({"-n", instruments_, "link", "set", "lo", "up"});
        for (int i = 1; i <= links; ++i) {
            const std::string n = std::to_string(i);
            const std::string net = "10.213." + n + ".";
            Step({"-n", searcher_, "link", "add", "s" + n, "type", "veth", "peer", "name", "r" + n,
                  "netns", instruments_});
            Step({"-n", searcher_, "addr", "add", net + "1/24", "brd", "+", "dev", "s" + n});
            Step({"-n", instruments_, "addr", "add", net + "2/24", "brd", "+", "dev", "r" + n});
            Step({"-n", searcher_, "link", "set", "s" + n, "up"});
            Step({"-n", instruments_, "link", "set", "r" + n, "up"});
        }
    }

    std::string searcher_;
    std::string instruments_;
    bool searcherAdded_ = false;
    bool instrumentsAdded_ = false;
    std::string problem_;
    std::vector<std::unique_ptr<ChildProcess>> responders_;
};

const std::string kGenerator = " 10.213.1.2\t8888\tZ5R generator\r\n";
const std::string kGeneratorName = "TCPIP1::z5r-bench.test::8888::SOCKET";
const std::string kGeneratorNote = "\tZ5R GENERATOR";
const std::string kHosts = "10.213.1.2 z5r-bench.test\n";

// The machine's own serial ports would join every search: each probe sees
// only the ports the map file written here names.
class SerialPortMapFile : public ::testing::Environment {
public:
    static void Write(const std::string& text) {
        std::ofstream(Path(), std::ios::trunc) << "default = off\n" << text;
    }
    void SetUp() override {
        Write("");
        setenv("KVVISA_SERIAL_PORTS", Path().c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove(Path()); }

private:
    static std::string Path() {
        return (std::filesystem::temp_directory_path() /
                ("kvvisa-discovery-ports-" + std::to_string(getpid()) + ".conf"))
            .string();
    }
};
const auto* const kSerialPortMapFile =
    ::testing::AddGlobalTestEnvironment(new SerialPortMapFile);

class Discovery : public ::testing::Test {
protected:
    void SetUp() override {
        KV_REQUIRE_NAMESPACE_TOOLS(geteuid() != 0 ? "network namespaces need root" : "");
        KV_REQUIRE_NAMESPACE_TOOLS(IpTool().empty() ? "the ip tool (iproute2) is missing" : "");
    }

    void BuildLab(int links, const std::string& hosts = kHosts) {
        lab_.emplace(links, hosts);
        ASSERT_EQ(lab_->Problem(), "");
    }

    void StartResponder(const std::vector<std::string>& args) {
        ASSERT_TRUE(lab_->StartResponder(args)) << "responder did not start";
    }

    std::optional<NetnsLab> lab_;
};

void ExpectNotFound(const ProbeResult& result) {
    EXPECT_EQ(result.find, VI_ERROR_RSRC_NFOUND) << result.raw;
    EXPECT_EQ(result.count, 0u);
    EXPECT_FALSE(result.listGiven);
    EXPECT_TRUE(result.entries.empty());
}

TEST_F(Discovery, AnsweringInstrumentIsNamedFromItsAddress) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ASSERT_NO_FATAL_FAILURE(StartResponder({kGenerator}));

    const auto result = lab_->Probe({""});
    EXPECT_EQ(result.find, VI_SUCCESS);
    EXPECT_EQ(result.count, 1u);
    EXPECT_TRUE(result.listGiven);
    ASSERT_EQ(result.entries.size(), 1u) << result.raw;
    EXPECT_EQ(result.entries[0].name, kGeneratorName);
    EXPECT_EQ(result.entries[0].note, kGeneratorNote);
    // A one-entry list stays open until the next viFindNext closes it.
    EXPECT_EQ(result.extra, VI_SUCCESS);
    EXPECT_EQ(result.close, VI_ERROR_INV_OBJECT);
    EXPECT_EQ(result.canary, "intact");
}

TEST_F(Discovery, SerialPortsComeBeforeNetworkInstruments) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    SerialPortMapFile::Write("ASRL4 = " + std::string(ptsname(master)) + "\n");
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ASSERT_NO_FATAL_FAILURE(StartResponder({kGenerator}));

    const auto result = lab_->Probe({""});
    SerialPortMapFile::Write("");
    close(master);
    EXPECT_EQ(result.count, 2u);
    ASSERT_EQ(result.entries.size(), 2u) << result.raw;
    EXPECT_EQ(result.entries[0].name, "ASRL4::INSTR");
    EXPECT_EQ(result.entries[0].note, "\tfree\t");
    EXPECT_EQ(result.entries[1].name, kGeneratorName);
}

TEST_F(Discovery, NothingAnsweringIsNotFound) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ExpectNotFound(lab_->Probe({""}));
}

TEST_F(Discovery, OnlyLoopbackIsNotFound) {
    const std::string unshare = UnshareTool();
    KV_REQUIRE_NAMESPACE_TOOLS(unshare.empty() ? "unshare is missing" : "");
    ExpectNotFound(RunProbe({unshare, "-n", KV_FIND_PROBE, ""}));
}

TEST_F(Discovery, IdenticalRepliesOnTwoInterfacesGiveOneEntryOfTheFirst) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(2, kHosts + "10.213.2.2 z5r-second.test\n"));
    ASSERT_NO_FATAL_FAILURE(StartResponder({kGenerator}));
    // Heard only on the second link, so its entry carries that link's index.
    ASSERT_NO_FATAL_FAILURE(
        StartResponder({"--device", "r2", "10.213.2.2\t9000\tsecond link only"}));

    const auto result = lab_->Probe({""});
    ASSERT_EQ(result.find, VI_SUCCESS) << result.raw;
    EXPECT_EQ(result.count, 2u);
    ASSERT_EQ(result.entries.size(), 2u) << result.raw;
    EXPECT_EQ(result.entries[0].name, kGeneratorName);
    EXPECT_EQ(result.entries[1].name, "TCPIP2::z5r-second.test::9000::SOCKET");
    EXPECT_EQ(result.entries[1].note, "\tSECOND LINK ONLY");
}

TEST_F(Discovery, DirectedBroadcastReachesInstrumentsToo) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ASSERT_NO_FATAL_FAILURE(
        StartResponder({"--only-to", "255.255.255.255", "10.213.1.2\t8888\tlimited"}));
    ASSERT_NO_FATAL_FAILURE(
        StartResponder({"--only-to", "10.213.1.255", "10.213.1.2\t8888\tdirected"}));

    const auto result = lab_->Probe({""});
    ASSERT_EQ(result.find, VI_SUCCESS) << result.raw;
    ASSERT_EQ(result.entries.size(), 2u) << result.raw;
    EXPECT_EQ(result.entries[0].note, "\tLIMITED");
    EXPECT_EQ(result.entries[1].note, "\tDIRECTED");
}

TEST_F(Discovery, ExpressionKeepsMatchingRepliesInAnyCase) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ASSERT_NO_FATAL_FAILURE(StartResponder({kGenerator, "10.213.1.2\t9000\tSpectrum box"}));

    for (const std::string expression : {"z5r gen", "Z5R GEN", "z5R"}) {
        const auto result = lab_->Probe({expression});
        ASSERT_EQ(result.find, VI_SUCCESS) << expression << "\n" << result.raw;
        ASSERT_EQ(result.entries.size(), 1u) << expression << "\n" << result.raw;
        EXPECT_EQ(result.entries[0].note, kGeneratorNote) << expression;
    }
    // "TCPIP" asks for every network instrument, like an empty expression.
    const auto all = lab_->Probe({"TCPIP"});
    EXPECT_EQ(all.count, 2u) << all.raw;

    ExpectNotFound(lab_->Probe({"oscilloscope"}));
}

TEST_F(Discovery, RepliesWithoutPortOrDescriptionAreSkipped) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ASSERT_NO_FATAL_FAILURE(StartResponder({"10.213.1.2", "10.213.1.2\t8888", kGenerator}));

    const auto result = lab_->Probe({""});
    ASSERT_EQ(result.find, VI_SUCCESS) << result.raw;
    ASSERT_EQ(result.entries.size(), 1u) << result.raw;
    EXPECT_EQ(result.entries[0].name, kGeneratorName);
}

TEST_F(Discovery, HostPartFallsBackToTheAddress) {
    // "TCPIP1::" + host + "::8888::SOCKET" may take 254 bytes, so that the name
    // and both zero bytes fit the 256-byte description.
    const std::string longestHost(254 - 22, 'h');
    const std::string tooLongHost(254 - 21, 'x');
    ASSERT_NO_FATAL_FAILURE(BuildLab(1, "169.254.0.9 link-local.test\n10.213.1.3 " +
                                            longestHost + "\n10.213.1.4 " + tooLongHost + "\n"));
    ASSERT_NO_FATAL_FAILURE(StartResponder({"169.254.0.9\t8888\tlink local",
                                            "10.213.1.3\t8888\tlongest name",
                                            "10.213.1.4\t8888\tname too long",
                                            "10.213.1.5\t8888\tnot in hosts"}));

    const auto result = lab_->Probe({""});
    ASSERT_EQ(result.find, VI_SUCCESS) << result.raw;
    ASSERT_EQ(result.entries.size(), 4u) << result.raw;
    // Link-local addresses are never looked up.
    EXPECT_EQ(result.entries[0].name, "TCPIP1::169.254.0.9::8888::SOCKET");
    EXPECT_EQ(result.entries[1].name, "TCPIP1::" + longestHost + "::8888::SOCKET");
    EXPECT_EQ(result.entries[2].name, "TCPIP1::10.213.1.4::8888::SOCKET");
    EXPECT_EQ(result.entries[3].name, "TCPIP1::10.213.1.5::8888::SOCKET");
    EXPECT_EQ(result.canary, "intact");
}

TEST_F(Discovery, LongReplyIsShortenedInsideTheDescriptionBuffer) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    const std::string description(400, 'd');
    ASSERT_NO_FATAL_FAILURE(StartResponder({"10.213.1.2\t8888\t" + description}));

    const auto result = lab_->Probe({""});
    ASSERT_EQ(result.find, VI_SUCCESS) << result.raw;
    ASSERT_EQ(result.entries.size(), 1u) << result.raw;
    EXPECT_EQ(result.entries[0].name, "TCPIP1::z5r-bench.test::8888::SOCKET");
    // Name, zero byte, annotation, zero byte: exactly the 256 bytes.
    const std::string fullNote = "\t" + std::string(400, 'D');
    EXPECT_EQ(result.entries[0].note,
              fullNote.substr(0, VI_FIND_BUFLEN - 2 - result.entries[0].name.size()));
    EXPECT_EQ(result.canary, "intact");
}

TEST_F(Discovery, WalkDeliversEveryEntryThenClosesTheList) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ASSERT_NO_FATAL_FAILURE(StartResponder({"10.213.1.7\t5001\tfirst", "10.213.1.8\t5002\tsecond",
                                            "10.213.1.9\t5003\tthird"}));

    const auto result = lab_->Probe({""});
    ASSERT_EQ(result.find, VI_SUCCESS) << result.raw;
    EXPECT_EQ(result.count, 3u);
    ASSERT_EQ(result.entries.size(), 3u) << result.raw;
    EXPECT_EQ(result.entries[0].name, "TCPIP1::10.213.1.7::5001::SOCKET");
    EXPECT_EQ(result.entries[1].name, "TCPIP1::10.213.1.8::5002::SOCKET");
    EXPECT_EQ(result.entries[2].name, "TCPIP1::10.213.1.9::5003::SOCKET");
    EXPECT_EQ(result.entries[2].note, "\tTHIRD");
    EXPECT_EQ(result.next, (std::vector<ViStatus>{VI_SUCCESS, VI_SUCCESS}));
    EXPECT_EQ(result.extra, VI_ERROR_INV_OBJECT);
    EXPECT_EQ(result.close, VI_ERROR_INV_OBJECT);
}

TEST_F(Discovery, SearchWithoutListDeliversCountAndFirstEntryOnly) {
    ASSERT_NO_FATAL_FAILURE(BuildLab(1));
    ASSERT_NO_FATAL_FAILURE(StartResponder({kGenerator, "10.213.1.2\t9000\tSpectrum box"}));

    const auto result = lab_->Probe({"--null-list", ""});
    EXPECT_EQ(result.find, VI_SUCCESS);
    EXPECT_EQ(result.count, 2u);
    ASSERT_EQ(result.entries.size(), 1u) << result.raw;
    EXPECT_EQ(result.entries[0].name, kGeneratorName);
    EXPECT_EQ(result.leftover, 0u);
}

TEST_F(Discovery, ProbeRefusesTheMachinesOwnNetwork) {
    const std::string unshare = UnshareTool();
    KV_REQUIRE_NAMESPACE_TOOLS(unshare.empty() ? "unshare is missing" : "");
    if (kvtest::InMachineNetworkNamespace()) {
        ChildProcess outside({KV_FIND_PROBE, "--check-namespace"});
        EXPECT_EQ(outside.Wait(kProbeTimeoutMs), 3);
    }
    ChildProcess inside({unshare, "-n", KV_FIND_PROBE, "--check-namespace"});
    EXPECT_EQ(inside.Wait(kProbeTimeoutMs), 0);
}

}  // namespace

// One property set and read back through the driver (its objects, the VISA
// library, the simulated instrument) against the same two packets sent and
// answered over a plain blocking socket to the same simulator, in the same
// run.
//
// Two layouts: the bench and the simulator pinned to one CPU (the main
// comparison), and the two on different CPUs. The summary gives the median
// of each and the ratio driver/plain per layout.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"
#include "kvproto/instrument_map.h"
#include "kvproto/packet_io.h"

extern char** environ;

namespace {

using namespace korvel;

constexpr double kFrequencies[] = {1.0e9, 1.5e9};

// The calling thread's CPUs; children started meanwhile inherit them.
class ScopedAffinity {
public:
    explicit ScopedAffinity(int cpu) {
        savedOk_ = sched_getaffinity(0, sizeof saved_, &saved_) == 0;
        cpu_set_t set;
        CPU_ZERO(&set);
        CPU_SET(cpu, &set);
        pinned_ = sched_setaffinity(0, sizeof set, &set) == 0;
    }
    ~ScopedAffinity() {
        if (savedOk_) sched_setaffinity(0, sizeof saved_, &saved_);
    }
    ScopedAffinity(const ScopedAffinity&) = delete;
    ScopedAffinity& operator=(const ScopedAffinity&) = delete;
    bool Pinned() const { return pinned_; }

private:
    cpu_set_t saved_{};
    bool savedOk_ = false;
    bool pinned_ = false;
};

std::vector<int> AllowedCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof set, &set) != 0) return cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &set)) cpus.push_back(cpu);
    }
    return cpus;
}

// z5r-sim on free ports, every thread of it on one CPU.
class SimulatorChild {
public:
    explicit SimulatorChild(int cpu) : cpu_(cpu) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<std::string> argv{Z5R_SIM_PATH, "--address", "127.0.0.1", "--port", "0",
                                      "--discovery-port", "0", "--control-port", "0"};
        std::vector<char*> args;
        for (auto& arg : argv) args.push_back(arg.data());
        args.push_back(nullptr);
        {
            ScopedAffinity pin(cpu);
            if (pin.Pinned() &&
                posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) {
                pid_ = -1;
            }
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (pid_ > 0) ReadReadyLine(out[0]);
        close(out[0]);
    }
    ~SimulatorChild() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    SimulatorChild(const SimulatorChild&) = delete;
    SimulatorChild& operator=(const SimulatorChild&) = delete;

    bool Ready() const { return port_ != 0; }
    int Cpu() const { return cpu_; }
    std::uint16_t Port() const { return port_; }
    std::string Resource() const {
        return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
    }

private:
    void ReadReadyLine(int fd) {
        std::string line;
        char c = 0;
        pollfd pfd{fd, POLLIN, 0};
        while (line.size() < 200 && poll(&pfd, 1, 10000) > 0 && read(fd, &c, 1) == 1 && c != '\n') {
            line.push_back(c);
        }
        unsigned port = 0;
        if (std::sscanf(line.c_str(), "z5r-sim ready port=%u", &port) == 1 && port <= 65535) {
            port_ = static_cast<std::uint16_t>(port);
        }
    }

    int cpu_;
    pid_t pid_ = -1;
    std::uint16_t port_ = 0;
};

struct Layout {
    std::string name;  // "same-core" or "split-core"
    int benchCpu;
    std::unique_ptr<SimulatorChild> simulator;
};

void DriverSetAndRead(benchmark::State& state, const Layout* layout) {
    ScopedAffinity pin(layout->benchCpu);
    ComPtr<IKorvelV8N> driver;
    if (!pin.Pinned() ||
        Failed(CoCreateInstance(CLSID_KorvelV8N, nullptr, CLSCTX_INPROC_SERVER, IID_IKorvelV8N,
                                reinterpret_cast<void**>(driver.Receive()))) ||
        Failed(driver->Initialize(layout->simulator->Resource(), 0, 0, "GENERATOR,Timeout=5000"))) {
        state.SkipWithError("cannot open the driver");
        return;
    }
    ComPtr<IKorvelV8NRF> rf;
    driver->get_RF(rf.Receive());
    std::size_t i = 0;
    for (auto _ : state) {
        double frequency = 0;
        if (Failed(rf->put_Frequency(kFrequencies[++i & 1])) ||
            Failed(rf->get_Frequency(&frequency))) {
            state.SkipWithError("driver exchange failed");
            break;
        }
        benchmark::DoNotOptimize(frequency);
    }
    driver->Close();  // the simulator serves the next client only then
}

bool SendAll(int fd, const std::vector<std::uint8_t>& packet) {
    std::size_t sent = 0;
    while (sent < packet.size()) {
        const ssize_t n = send(fd, packet.data() + sent, packet.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// One whole answer packet, read as fast as a plain socket allows.
bool ReceivePacket(int fd, std::vector<std::uint8_t>& buffer) {
    std::size_t got = 0;
    std::size_t want = kvproto::kHeaderSize;
    while (got < want) {
        const ssize_t n = recv(fd, buffer.data() + got, buffer.size() - got, 0);
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
        if (got >= kvproto::kHeaderSize) {
            want = kvproto::kHeaderSize + kvproto::DecodeHeader(buffer.data()).bodyLen;
            if (want > buffer.size()) return false;
        }
    }
    return true;
}

void PlainSetAndRead(benchmark::State& state, const Layout* layout) {
    ScopedAffinity pin(layout->benchCpu);
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(layout->simulator->Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!pin.Pinned() || fd < 0 ||
        connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        state.SkipWithError("cannot connect");
        if (fd >= 0) close(fd);
        return;
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // The packets the driver sends for the same two operations.
    const auto& row = kvproto::InstrumentField(kvproto::EInstrumentField::CwFrequency);
    const std::uint8_t format = kvproto::InstrumentParamFormat(row.param);
    std::vector<std::uint8_t> sets[2];
    for (int k = 0; k < 2; ++k) {
        sets[k] = kvproto::BuildParameterPacket(kvproto::KV_SET, row.param,
                                                {double(row.index), kFrequencies[k]}, format);
    }
    const auto get = kvproto::BuildParameterPacket(kvproto::KV_GET, row.param, {double(row.index)},
                                                   format);
    std::vector<std::uint8_t> answer(512);
    std::size_t i = 0;
    for (auto _ : state) {
        if (!SendAll(fd, sets[++i & 1]) || !ReceivePacket(fd, answer) || !SendAll(fd, get) ||
            !ReceivePacket(fd, answer)) {
            state.SkipWithError("round trip failed");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    close(fd);
}

// Prints as usual and keeps every repetition's mean per benchmark.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) {
                continue;
            }
            samples_[run.run_name.function_name].push_back(
                run.real_accumulated_time * 1e6 / static_cast<double>(run.iterations));
        }
    }
    double MedianUs(const std::string& name) const {
        const auto found = samples_.find(name);
        if (found == samples_.end() || found->second.empty()) return -1.0;
        std::vector<double> values = found->second;
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> samples_;
};

void PrintSummary(const CollectingReporter& reporter, const std::vector<Layout>& layouts) {
    std::printf("\nmedian of one set and read back (two exchanges):\n");
    for (const Layout& layout : layouts) {
        std::printf("  %-10s (bench CPU %d, simulator CPU %d): driver %.2f us, plain %.2f us\n",
                    layout.name.c_str(), layout.benchCpu, layout.simulator->Cpu(),
                    reporter.MedianUs("driver/" + layout.name),
                    reporter.MedianUs("plain/" + layout.name));
    }
    for (const Layout& layout : layouts) {
        const double driver = reporter.MedianUs("driver/" + layout.name);
        const double plain = reporter.MedianUs("plain/" + layout.name);
        if (driver > 0 && plain > 0) {
            std::printf("ratio %s median: %.2f\n", layout.name.c_str(), driver / plain);
        } else {
            std::printf("ratio %s median: not measured\n", layout.name.c_str());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args{argv[0]};
    std::string repetitions = "--benchmark_repetitions=15";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string minTime = "--benchmark_min_time=0.2";
    args.push_back(repetitions.data());
    args.push_back(interleave.data());
    args.push_back(minTime.data());
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

    std::string error;
    if (!RegisterPlugin(KORVEL_PLUGIN_PATH, CLSID_KorvelV8N, &error)) {
        std::fprintf(stderr, "cannot load the driver: %s\n", error.c_str());
        return 1;
    }
    CoInitialize(nullptr);
    const std::vector<int> cpus = AllowedCpus();
    if (cpus.empty()) {
        std::fprintf(stderr, "no CPU to run on\n");
        return 1;
    }
    std::vector<Layout> layouts;
    layouts.push_back({"same-core", cpus[0], std::make_unique<SimulatorChild>(cpus[0])});
    if (cpus.size() > 1) {
        layouts.push_back({"split-core", cpus[0], std::make_unique<SimulatorChild>(cpus[1])});
    }
    for (const Layout& layout : layouts) {
        if (!layout.simulator->Ready()) {
            std::fprintf(stderr, "z5r-sim did not start (%s)\n", Z5R_SIM_PATH);
            return 1;
        }
        benchmark::RegisterBenchmark(("driver/" + layout.name).c_str(), DriverSetAndRead, &layout)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("plain/" + layout.name).c_str(), PlainSetAndRead, &layout)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, layouts);
    benchmark::Shutdown();
    CoUninitialize();
    return 0;
}

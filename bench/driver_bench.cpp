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
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_harness.h"
#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"
#include "kvproto/instrument_map.h"
#include "kvproto/packet_io.h"
#include "support/simulator_process.h"

namespace {

using namespace korvel;

constexpr double kFrequencies[] = {1.0e9, 1.5e9};

// z5r-sim on free ports, every thread of it on one CPU.
std::unique_ptr<kvtest::CSimulator> PinnedSimulator(int cpu) {
    const kvbench::CScopedAffinity pin(cpu);
    if (!pin.Pinned()) return nullptr;
    return std::make_unique<kvtest::CSimulator>();
}

using Simulators = std::map<std::string, std::unique_ptr<kvtest::CSimulator>>;

void DriverSetAndRead(benchmark::State& state, const kvtest::CSimulator& simulator, int benchCpu) {
    const kvbench::CScopedAffinity pin(benchCpu);
    ComPtr<IKorvelV8N> driver;
    if (!pin.Pinned() ||
        Failed(CoCreateInstance(CLSID_KorvelV8N, nullptr, CLSCTX_INPROC_SERVER, IID_IKorvelV8N,
                                reinterpret_cast<void**>(driver.Receive()))) ||
        Failed(driver->Initialize(simulator.Resource(), 0, 0, "GENERATOR,Timeout=5000"))) {
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

void PlainSetAndRead(benchmark::State& state, const kvtest::CSimulator& simulator, int benchCpu) {
    const kvbench::CScopedAffinity pin(benchCpu);
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(simulator.Port());
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

}  // namespace

int main(int argc, char** argv) {
    if (!kvbench::InitializeBenchmarks(argc, argv)) return 1;

    std::string error;
    if (!RegisterPlugin(KORVEL_PLUGIN_PATH, CLSID_KorvelV8N, &error)) {
        std::fprintf(stderr, "cannot load the driver: %s\n", error.c_str());
        return 1;
    }
    CoInitialize(nullptr);
    const std::vector<kvbench::SLayout> layouts = kvbench::ComparisonLayouts(kvbench::AllowedCpus());
    if (layouts.empty()) {
        std::fprintf(stderr, "no CPU to run on\n");
        return 1;
    }
    Simulators simulators;
    for (const kvbench::SLayout& layout : layouts) {
        auto simulator = PinnedSimulator(layout.peerCpu);
        if (!simulator || !simulator->Started()) {
            std::fprintf(stderr, "z5r-sim did not start (%s)\n", kvtest::SimulatorPath().c_str());
            return 1;
        }
        simulators[layout.name] = std::move(simulator);
    }
    kvbench::RegisterPerLayout("driver", layouts,
                               [&simulators](benchmark::State& state, const kvbench::SLayout& layout) {
                                   DriverSetAndRead(state, *simulators.at(layout.name), layout.benchCpu);
                               });
    kvbench::RegisterPerLayout("plain", layouts,
                               [&simulators](benchmark::State& state, const kvbench::SLayout& layout) {
                                   PlainSetAndRead(state, *simulators.at(layout.name), layout.benchCpu);
                               });

    kvbench::CCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    kvbench::PrintComparison(reporter,
                             {"median of one set and read back (two exchanges)", "driver", "plain",
                              "bench", "simulator"},
                             layouts);
    benchmark::Shutdown();
    CoUninitialize();
    return 0;
}

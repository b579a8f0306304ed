// Request/response round trips (16-byte request, 22-byte answer) through the
// library's viWrite/viRead against the same exchange over a plain blocking
// socket, both talking to one loopback echo peer, in the same run.
//
// Two layouts: client and peer pinned to one CPU (the main comparison), and
// client and peer on two CPUs. The summary at the end gives the median round
// trip of each and the ratio library/plain per layout.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "kvvisa/visa.h"

namespace {

constexpr std::size_t kRequestSize = 16;
constexpr std::size_t kAnswerSize = 22;
constexpr ViUInt32 kTransferTimeoutMs = 5000;

bool SendAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int fd, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = recv(fd, data, size, 0);
        if (got <= 0) return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

void SetNoDelay(int fd) {
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

bool PinThread(pthread_t thread, int cpu) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return pthread_setaffinity_np(thread, sizeof set, &set) == 0;
}

// The CPUs this process may run on, in order.
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

// Pins the calling thread to one CPU for its lifetime, then restores the mask.
class ScopedPin {
public:
    explicit ScopedPin(int cpu) {
        saved_ok_ = pthread_getaffinity_np(pthread_self(), sizeof saved_, &saved_) == 0;
        pinned_ = PinThread(pthread_self(), cpu);
    }
    ~ScopedPin() {
        if (saved_ok_) pthread_setaffinity_np(pthread_self(), sizeof saved_, &saved_);
    }
    ScopedPin(const ScopedPin&) = delete;
    ScopedPin& operator=(const ScopedPin&) = delete;
    bool Pinned() const { return pinned_; }

private:
    cpu_set_t saved_{};
    bool saved_ok_ = false;
    bool pinned_ = false;
};

// A loopback instrument pinned to one CPU: serves one connection after the
// other, answering every 16-byte request with 22 bytes.
class EchoPeer {
public:
    explicit EchoPeer(int cpu) : cpu_(cpu) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        address_.sin_family = AF_INET;
        address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address_;
        if (listener_ < 0 ||
            bind(listener_, reinterpret_cast<sockaddr*>(&address_), sizeof address_) != 0 ||
            listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address_), &length) != 0) {
            std::perror("echo peer");
            std::exit(1);
        }
        thread_ = std::thread([this] { Serve(); });
    }
    ~EchoPeer() {
        shutdown(listener_, SHUT_RDWR);  // ends the blocking accept
        thread_.join();
        close(listener_);
    }
    EchoPeer(const EchoPeer&) = delete;
    EchoPeer& operator=(const EchoPeer&) = delete;

    int Cpu() const { return cpu_; }
    const sockaddr_in& Address() const { return address_; }
    std::string Resource() const {
        return "TCPIP::127.0.0.1::" + std::to_string(ntohs(address_.sin_port)) + "::SOCKET";
    }

private:
    void Serve() {
        PinThread(pthread_self(), cpu_);
        std::array<std::uint8_t, kRequestSize> request{};
        std::array<std::uint8_t, kAnswerSize> answer{};
        for (std::size_t i = 0; i < answer.size(); ++i)
            answer[i] = static_cast<std::uint8_t>('A' + i);
        for (;;) {
            const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) return;
            SetNoDelay(fd);
            while (ReceiveAll(fd, request.data(), request.size()) &&
                   SendAll(fd, answer.data(), answer.size())) {
            }
            close(fd);
        }
    }

    int cpu_;
    int listener_ = -1;
    sockaddr_in address_{};
    std::thread thread_;
};

std::array<std::uint8_t, kRequestSize> Request() {
    std::array<std::uint8_t, kRequestSize> request{};
    for (std::size_t i = 0; i < request.size(); ++i) request[i] = static_cast<std::uint8_t>(i);
    return request;
}

void LibraryRoundTrip(benchmark::State& state, const EchoPeer* peer, int clientCpu) {
    ScopedPin pin(clientCpu);
    if (!pin.Pinned()) {
        state.SkipWithError("cannot pin the client");
        return;
    }
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    if (viOpenDefaultRM(&rm) != VI_SUCCESS ||
        viOpen(rm, peer->Resource().c_str(), VI_NULL, 0, &vi) != VI_SUCCESS ||
        viSetAttribute(vi, VI_ATTR_TMO_VALUE, kTransferTimeoutMs) != VI_SUCCESS) {
        state.SkipWithError("cannot open the session");
        if (vi != VI_NULL) viClose(vi);
        return;
    }
    auto request = Request();
    std::array<ViByte, kAnswerSize> answer{};
    for (auto _ : state) {
        ViUInt32 count = 0;
        if (viWrite(vi, request.data(), kRequestSize, &count) != VI_SUCCESS ||
            viRead(vi, answer.data(), kAnswerSize, &count) != VI_SUCCESS) {
            state.SkipWithError("round trip failed");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    viClose(vi);
}

void PlainRoundTrip(benchmark::State& state, const EchoPeer* peer, int clientCpu) {
    ScopedPin pin(clientCpu);
    if (!pin.Pinned()) {
        state.SkipWithError("cannot pin the client");
        return;
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&peer->Address()),
                          sizeof(sockaddr_in)) != 0) {
        state.SkipWithError("cannot connect");
        if (fd >= 0) close(fd);
        return;
    }
    SetNoDelay(fd);
    const auto request = Request();
    std::array<std::uint8_t, kAnswerSize> answer{};
    for (auto _ : state) {
        if (!SendAll(fd, request.data(), request.size()) ||
            !ReceiveAll(fd, answer.data(), answer.size())) {
            state.SkipWithError("round trip failed");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    close(fd);
}

// Prints as usual and keeps every repetition's mean round trip per benchmark.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) {
                continue;
            }
            const double meanUs =
                run.real_accumulated_time * 1e6 / static_cast<double>(run.iterations);
            samples_[run.run_name.function_name].push_back(meanUs);
        }
    }

    // Median over the repetitions, or a negative value when there were none.
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

struct Layout {
    std::string name;  // "same-core" or "split-core"
    int clientCpu;
    std::unique_ptr<EchoPeer> peer;
};

void PrintSummary(const CollectingReporter& reporter, const std::vector<Layout>& layouts) {
    std::printf("\nmedian round trip, 16-byte request / 22-byte answer:\n");
    for (const Layout& layout : layouts) {
        const double library = reporter.MedianUs("library/" + layout.name);
        const double plain = reporter.MedianUs("plain/" + layout.name);
        std::printf("  %-10s (client CPU %d, peer CPU %d): library %.2f us, plain %.2f us\n",
                    layout.name.c_str(), layout.clientCpu, layout.peer->Cpu(), library, plain);
    }
    for (const Layout& layout : layouts) {
        const double library = reporter.MedianUs("library/" + layout.name);
        const double plain = reporter.MedianUs("plain/" + layout.name);
        if (library > 0 && plain > 0) {
            std::printf("ratio %s median: %.2f\n", layout.name.c_str(), library / plain);
        } else {
            std::printf("ratio %s median: not measured\n", layout.name.c_str());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Defaults first so that flags given on the command line win. Random
    // interleaving spreads the repetitions of all four cases over the run, so
    // a drift of the machine's speed does not favour one of them.
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

    const std::vector<int> cpus = AllowedCpus();
    if (cpus.empty()) {
        std::fprintf(stderr, "no CPU to run on\n");
        return 1;
    }
    std::vector<Layout> layouts;
    layouts.push_back({"same-core", cpus[0], std::make_unique<EchoPeer>(cpus[0])});
    if (cpus.size() > 1) {
        layouts.push_back({"split-core", cpus[0], std::make_unique<EchoPeer>(cpus[1])});
    }

    for (const Layout& layout : layouts) {
        const EchoPeer* peer = layout.peer.get();
        const int clientCpu = layout.clientCpu;
        benchmark::RegisterBenchmark(("library/" + layout.name).c_str(), LibraryRoundTrip, peer,
                                     clientCpu)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("plain/" + layout.name).c_str(), PlainRoundTrip, peer,
                                     clientCpu)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, layouts);
    benchmark::Shutdown();
    return 0;
}

// Request/answer pairs (16-byte request, 22-byte answer) through viWrite and
// viRead with no traffic monitor attached, and with one monitor attached in a
// process of its own (this program started again with --monitor) reading
// every record, both in the same run against loopback instruments. The
// summary gives the median pair of each and the ratio.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench_harness.h"
#include "kvvisa/visa.h"

extern char** environ;

namespace {

constexpr std::size_t kRequestSize = 16;
constexpr std::size_t kAnswerSize = 22;
constexpr ViUInt32 kMonitorReadSize = 65536;
constexpr const char* kMonitorFlag = "--monitor";

// A loopback instrument: serves one connection after the other, answering
// every 16-byte request with 22 bytes.
class Instrument {
public:
    Instrument() {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            std::perror("instrument");
            std::exit(1);
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~Instrument() {
        shutdown(listener_, SHUT_RDWR);  // ends the blocking accept
        thread_.join();
        close(listener_);
    }
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    std::string Resource() const {
        return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
    }

private:
    void Serve() {
        std::array<char, kAnswerSize> answer{};
        for (;;) {
            const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) return;
            const int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            std::array<char, kRequestSize> request{};
            while (recv(fd, request.data(), request.size(), MSG_WAITALL) ==
                       static_cast<ssize_t>(request.size()) &&
                   send(fd, answer.data(), answer.size(), MSG_NOSIGNAL) ==
                       static_cast<ssize_t>(answer.size())) {
            }
            close(fd);
        }
    }

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

// The monitor process: reads every record of RESOURCE until it is killed
// (or its parent ends).
int RunMonitor(const char* resource) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const std::string name = std::string(resource) + "::HOOK";
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    viOpenDefaultRM(&rm);
    if (viOpen(rm, name.c_str(), VI_NULL, 0, &vi) != VI_SUCCESS) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    std::vector<ViByte> buffer(kMonitorReadSize);
    for (;;) {
        ViUInt32 got = 0;
        viRead(vi, buffer.data(), kMonitorReadSize, &got);
        benchmark::DoNotOptimize(got);
    }
}

// This program started again as a monitor of `resource`; attached once it
// has said so.
class MonitorProcess {
public:
    explicit MonitorProcess(const std::string& resource) {
        int pipeFds[2];
        if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        std::string self = "/proc/self/exe";
        std::string flag = kMonitorFlag;
        std::string target = resource;
        char* argv[] = {self.data(), flag.data(), target.data(), nullptr};
        if (posix_spawn(&pid_, self.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        char line[16] = {};
        std::FILE* output = fdopen(pipeFds[0], "r");
        ready_ = pid_ > 0 && output != nullptr && std::fgets(line, sizeof line, output) != nullptr &&
                 std::strcmp(line, "ready\n") == 0;
        if (output != nullptr) std::fclose(output);
    }
    ~MonitorProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    MonitorProcess(const MonitorProcess&) = delete;
    MonitorProcess& operator=(const MonitorProcess&) = delete;
    bool Ready() const { return ready_; }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

void Pairs(benchmark::State& state, const Instrument* instrument) {
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    if (viOpenDefaultRM(&rm) != VI_SUCCESS ||
        viOpen(rm, instrument->Resource().c_str(), VI_NULL, 0, &vi) != VI_SUCCESS) {
        state.SkipWithError("cannot open the session");
        return;
    }
    const std::array<ViByte, kRequestSize> request{};
    std::array<ViByte, kAnswerSize> answer{};
    for (auto _ : state) {
        ViUInt32 count = 0;
        if (viWrite(vi, request.data(), kRequestSize, &count) != VI_SUCCESS ||
            viRead(vi, answer.data(), kAnswerSize, &count) != VI_SUCCESS) {
            state.SkipWithError("pair failed");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    viClose(vi);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kMonitorFlag) == 0) return RunMonitor(argv[2]);

    if (!kvbench::InitializeBenchmarks(argc, argv)) return 1;

    Instrument bare;
    Instrument watched;
    MonitorProcess monitor(watched.Resource());
    if (!monitor.Ready()) {
        std::fprintf(stderr, "the monitor process did not start\n");
        return 1;
    }
    benchmark::RegisterBenchmark("pair/bare", Pairs, &bare)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("pair/monitor", Pairs, &watched)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);

    kvbench::CCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double bareUs = reporter.MedianUs("pair/bare");
    const double monitoredUs = reporter.MedianUs("pair/monitor");
    std::printf("\nmedian request/answer pair: bare %.2f us, with one monitor %.2f us\n", bareUs,
                monitoredUs);
    if (bareUs > 0 && monitoredUs > 0) {
        std::printf("ratio monitor/bare median: %.2f\n", monitoredUs / bareUs);
    } else {
        std::printf("ratio monitor/bare median: not measured\n");
    }
    benchmark::Shutdown();
    return 0;
}

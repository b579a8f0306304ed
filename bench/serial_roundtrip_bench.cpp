// Request/response round trips (16-byte request, 22-byte answer) over a
// pseudo-terminal through the library's viWrite/viRead on ASRL1::INSTR
// against the same exchange with plain read/write on the terminal, both
// talking to one echo peer on the pty's master, in the same run.
//
// Two layouts, as in roundtrip_bench: client and peer on one CPU (the main
// comparison) and on two CPUs. The summary gives the median round trip of
// each and the ratio library/plain per layout.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_harness.h"
#include "kvvisa/visa.h"

namespace {

constexpr std::size_t kRequestSize = 16;
constexpr std::size_t kAnswerSize = 22;
constexpr ViUInt32 kTransferTimeoutMs = 5000;
constexpr int kPeerPollMs = 50;

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = read(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// An instrument on a pty's master, pinned to one CPU: answers every 16-byte
// request with 22 bytes, whoever has the slave open.
class PtyEchoPeer {
public:
    explicit PtyEchoPeer(int cpu) : cpu_(cpu) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
            std::perror("pseudo-terminal");
            std::exit(1);
        }
        slave_ = ptsname(master_);
        // Kept open so the master never sees the line hang up between runs.
        keeper_ = open(slave_.c_str(), O_RDWR | O_NOCTTY);
        termios raw{};
        tcgetattr(keeper_, &raw);
        cfmakeraw(&raw);
        tcsetattr(keeper_, TCSANOW, &raw);
        thread_ = std::thread([this] { Serve(); });
    }
    ~PtyEchoPeer() {
        stop_ = true;
        thread_.join();
        close(keeper_);
        close(master_);
    }
    PtyEchoPeer(const PtyEchoPeer&) = delete;
    PtyEchoPeer& operator=(const PtyEchoPeer&) = delete;

    const std::string& Slave() const { return slave_; }

private:
    void Serve() {
        const kvbench::CScopedAffinity pin(cpu_);
        std::array<std::uint8_t, kAnswerSize> answer{};
        for (std::size_t i = 0; i < answer.size(); ++i) answer[i] = static_cast<std::uint8_t>('A' + i);
        std::size_t pending = 0;
        std::array<std::uint8_t, 256> chunk{};
        while (!stop_) {
            pollfd pfd{master_, POLLIN, 0};
            if (poll(&pfd, 1, kPeerPollMs) <= 0) continue;
            const ssize_t n = read(master_, chunk.data(), chunk.size());
            if (n <= 0) continue;
            pending += static_cast<std::size_t>(n);
            for (; pending >= kRequestSize; pending -= kRequestSize) {
                WriteAll(master_, answer.data(), answer.size());
            }
        }
    }

    int cpu_;
    int master_ = -1;
    int keeper_ = -1;
    std::string slave_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::array<std::uint8_t, kRequestSize> Request() {
    std::array<std::uint8_t, kRequestSize> request{};
    for (std::size_t i = 0; i < request.size(); ++i) request[i] = static_cast<std::uint8_t>(i);
    return request;
}

// The map the library reads: ASRL1 is the layout's pty and nothing else exists.
void MapPortOne(const std::string& device) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kvvisa-bench-ports-" + std::to_string(getpid()) + ".conf");
    std::ofstream(path, std::ios::trunc) << "default = off\nASRL1 = " << device << "\n";
    setenv("KVVISA_SERIAL_PORTS", path.c_str(), 1);
}

void LibraryRoundTrip(benchmark::State& state, const PtyEchoPeer& peer, int clientCpu) {
    const kvbench::CScopedAffinity pin(clientCpu);
    if (!pin.Pinned()) {
        state.SkipWithError("cannot pin the client");
        return;
    }
    MapPortOne(peer.Slave());
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    if (viOpenDefaultRM(&rm) != VI_SUCCESS ||
        viOpen(rm, "ASRL1::INSTR", VI_NULL, kTransferTimeoutMs, &vi) != VI_SUCCESS) {
        state.SkipWithError("cannot open the session");
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

void PlainRoundTrip(benchmark::State& state, const PtyEchoPeer& peer, int clientCpu) {
    const kvbench::CScopedAffinity pin(clientCpu);
    if (!pin.Pinned()) {
        state.SkipWithError("cannot pin the client");
        return;
    }
    const int fd = open(peer.Slave().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (fd < 0 || tcgetattr(fd, &raw) != 0) {
        state.SkipWithError("cannot open the terminal");
        if (fd >= 0) close(fd);
        return;
    }
    cfmakeraw(&raw);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &raw);
    const auto request = Request();
    std::array<std::uint8_t, kAnswerSize> answer{};
    for (auto _ : state) {
        if (!WriteAll(fd, request.data(), request.size()) || !ReadAll(fd, answer.data(), answer.size())) {
            state.SkipWithError("round trip failed");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    const kvbench::SComparison comparison{"median round trip over a pty, 16-byte request / 22-byte answer",
                                          "library", "plain", "client", "peer"};
    const int status =
        kvbench::RunPeerComparison<PtyEchoPeer>(argc, argv, comparison, LibraryRoundTrip, PlainRoundTrip);
    std::filesystem::remove(std::filesystem::temp_directory_path() /
                            ("kvvisa-bench-ports-" + std::to_string(getpid()) + ".conf"));
    return status;
}

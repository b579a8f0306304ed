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
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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
        const kvbench::CScopedAffinity pin(cpu_);
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

void LibraryRoundTrip(benchmark::State& state, const EchoPeer& peer, int clientCpu) {
    const kvbench::CScopedAffinity pin(clientCpu);
    if (!pin.Pinned()) {
        state.SkipWithError("cannot pin the client");
        return;
    }
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    if (viOpenDefaultRM(&rm) != VI_SUCCESS ||
        viOpen(rm, peer.Resource().c_str(), VI_NULL, 0, &vi) != VI_SUCCESS ||
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

void PlainRoundTrip(benchmark::State& state, const EchoPeer& peer, int clientCpu) {
    const kvbench::CScopedAffinity pin(clientCpu);
    if (!pin.Pinned()) {
        state.SkipWithError("cannot pin the client");
        return;
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&peer.Address()),
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

}  // namespace

int main(int argc, char** argv) {
    const kvbench::SComparison comparison{"median round trip, 16-byte request / 22-byte answer", "library",
                                          "plain", "client", "peer"};
    const int status = kvbench::RunPeerComparison<EchoPeer>(argc, argv, comparison, LibraryRoundTrip, PlainRoundTrip);
    return status;
}

#include "support/scripted_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace kvtest {

namespace {
using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}
}  // namespace

ScriptedPeer::ScriptedPeer(Script script) : ScriptedPeer(std::vector<Script>{std::move(script)}) {}

ScriptedPeer::ScriptedPeer(std::vector<Script> scripts) : scripts_(std::move(scripts)) {
    if (scripts_.empty()) throw std::invalid_argument("ScriptedPeer needs a script");
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    Listen();
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedPeer::~ScriptedPeer() {
    stopping_ = true;
    const char wake = 1;
    (void)!write(wakeWrite_, &wake, 1);
    acceptor_.join();
    for (auto& worker : workers_) worker.join();
    std::lock_guard lock(mutex_);
    if (listener_ >= 0) close(listener_);
    close(wakeRead_);
    close(wakeWrite_);
}

void ScriptedPeer::Listen() {
    std::lock_guard lock(mutex_);
    if (listener_ >= 0) return;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port_);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 16) != 0) {
        close(fd);
        throw std::runtime_error("bind/listen failed");
    }
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listener_ = fd;
    const char wake = 1;
    (void)!write(wakeWrite_, &wake, 1);
}

void ScriptedPeer::StopListening() {
    std::lock_guard lock(mutex_);
    if (listener_ >= 0) {
        close(listener_);
        listener_ = -1;
    }
    const char wake = 1;
    (void)!write(wakeWrite_, &wake, 1);
}

void ScriptedPeer::ResumeListening() { Listen(); }

std::string ScriptedPeer::Resource() const {
    return "TCPIP::127.0.0.1::" + std::to_string(port_) + "::SOCKET";
}

bool ScriptedPeer::WaitFinished(int n, int timeoutMs) const {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (finished_.load() < n) {
        if (Clock::now() >= deadline) return false;
        usleep(1000);
    }
    return true;
}

void ScriptedPeer::AcceptLoop() {
    while (!stopping_) {
        int listener;
        {
            std::lock_guard lock(mutex_);
            listener = listener_;
        }
        pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {listener, POLLIN, 0}};
        const int ready = poll(fds, listener >= 0 ? 2 : 1, 1000);
        if (ready <= 0) continue;
        if (fds[0].revents & POLLIN) {
            char drain[16];
            (void)!read(wakeRead_, drain, sizeof drain);
            continue;
        }
        if (listener < 0 || !(fds[1].revents & POLLIN)) continue;
        std::lock_guard lock(mutex_);
        if (listener_ != listener) continue;  // closed meanwhile
        const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const int index = accepted_++;
        const Script& script = scripts_[std::min<size_t>(index, scripts_.size() - 1)];
        workers_.emplace_back([this, fd, &script] {
            script(fd);
            close(fd);
            ++finished_;
        });
    }
}

bool ReadExactly(int fd, void* buf, std::size_t n, int timeoutMs) {
    auto* out = static_cast<std::uint8_t*>(buf);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < n) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) return false;
        const ssize_t got = recv(fd, out + done, n - done, 0);
        if (got <= 0) {
            if (got < 0 && errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

std::vector<std::uint8_t> ReadAvailable(int fd, std::size_t n, int timeoutMs) {
    std::vector<std::uint8_t> data;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (data.size() < n) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) break;
        std::uint8_t chunk[4096];
        const ssize_t got = recv(fd, chunk, std::min(sizeof chunk, n - data.size()), 0);
        if (got <= 0) break;
        data.insert(data.end(), chunk, chunk + got);
    }
    return data;
}

bool WriteAll(int fd, const void* buf, std::size_t n) {
    const auto* in = static_cast<const std::uint8_t*>(buf);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t sent = send(fd, in + done, n - done, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(sent);
    }
    return true;
}

bool WaitForClose(int fd, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) return false;
        std::uint8_t chunk[256];
        const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
        if (got == 0) return true;
        if (got < 0 && errno != EINTR) return true;
    }
}

}  // namespace kvtest

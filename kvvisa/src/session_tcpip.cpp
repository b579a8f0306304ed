#include "session_tcpip.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <limits>
#include <thread>
#include <utility>

#include "resource_name.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kKeepAliveIdleSeconds = 300;
constexpr int kKeepAliveIntervalSeconds = 5;
constexpr auto kReconnectPause = std::chrono::milliseconds(20);
// Keeps a transfer from spinning should waiting for the socket itself fail.
constexpr auto kWaitFailurePause = std::chrono::milliseconds(1);
// How much longer than asked a read may wait, so that reads with one time-out
// share one setting of the socket's receive time-out.
constexpr auto kReceiveWaitSlack = std::chrono::microseconds(1000);

Clock::time_point DeadlineAfter(ViUInt32 timeoutMs) {
    // VI_TMO_INFINITE is simply a very long wait (about 50 days); 64-bit
    // nanoseconds hold it easily.
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

// Waits until `fd` reports one of `events` or `deadline` passes. Returns the
// reported events, 0 on time-out, -1 when the wait itself failed.
int WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
        timespec wait{};
        if (left.count() > 0) {
            wait.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
        }
        pollfd pfd{fd, events, 0};
        const int ready = ppoll(&pfd, 1, &wait, nullptr);
        if (ready > 0) return pfd.revents;
        if (ready == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

// A peer that closed mid-read shows up only as a time-out; waiting it out
// asleep keeps that from costing CPU.
void SleepUntil(Clock::time_point deadline) {
    const auto target =
        std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch());
    timespec until{};
    until.tv_sec = static_cast<time_t>(target.count() / 1'000'000'000);
    until.tv_nsec = static_cast<long>(target.count() % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

void SetOption(int fd, int level, int name, int value) {
    // A refused option leaves the socket usable; the connection works without it.
    (void)setsockopt(fd, level, name, &value, sizeof value);
}

// A new IPv4 stream socket with keep-alive and no Nagle delay, non-blocking
// while it connects. Returns -1 (errno set) when it cannot be had.
int OpenConfiguredSocket() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    SetOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, kKeepAliveIdleSeconds);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, kKeepAliveIntervalSeconds);
    SetOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
    return fd;
}

// A connected socket blocks from then on: a read waits for its answer inside
// one receive bounded by SO_RCVTIMEO instead of a poll followed by a receive.
// Writes and probes stay non-blocking through MSG_DONTWAIT.
bool MakeBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// Starts a non-blocking connect: 0 when it completed at once, EINPROGRESS
// while it runs, otherwise the error.
int StartConnect(int fd, const sockaddr_in& peer) {
    for (;;) {
        if (connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return 0;
        if (errno != EINTR) return errno;
    }
}

int PendingError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
}

// Waits for a running connect to finish: 0 when connected, otherwise the
// connect's error, ETIMEDOUT when the socket did not become writable in time.
// A refused connect makes the socket writable at once with its error pending,
// so it is reported without waiting out the time-out.
int FinishConnect(int fd, Clock::time_point deadline) {
    const int ready = WaitFor(fd, POLLOUT, deadline);
    const int error = PendingError(fd);
    if (ready > 0) return error;
    return error != 0 ? error : ETIMEDOUT;
}

}  // namespace

CSessionTCPIP::~CSessionTCPIP() { Disconnect(); }

ViStatus CSessionTCPIP::Connect(ViConstRsrc name, ViAccessMode, ViUInt32) {
    if (name == nullptr) return VI_ERROR_INV_RSRC_NAME;
    const auto tokens = SplitResource(name);
    if (tokens.size() < 3) return VI_ERROR_INV_RSRC_NAME;
    Disconnect();

    host_ = tokens[1];
    const long long port = ParseDecimal(tokens[2]);
    if (port < 1 || port > std::numeric_limits<std::uint16_t>::max()) {
        return VI_ERROR_RSRC_NFOUND;
    }
    port_ = static_cast<std::uint16_t>(port);

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host_.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return VI_ERROR_TMO;
    }
    sockaddr_in peer{};
    peer.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port_);

    const int fd = OpenConfiguredSocket();
    if (fd < 0) {
        lastSocketError_ = errno;
        return VI_ERROR_RSRC_NFOUND;
    }
    peer_ = peer;

    const int started = StartConnect(fd, peer_);
    if (started != 0 && started != EINPROGRESS) {
        lastSocketError_ = started;
        close(fd);
        return started == EHOSTUNREACH ? VI_ERROR_TMO : VI_ERROR_RSRC_NFOUND;
    }
    if (started == EINPROGRESS) {
        const int error = FinishConnect(fd, DeadlineAfter(connectTimeoutMs_));
        if (error != 0) {
            lastSocketError_ = error;
            close(fd);
            return error == ETIMEDOUT ? VI_ERROR_TMO : VI_ERROR_RSRC_NFOUND;
        }
    }
    if (!Adopt(fd)) return VI_ERROR_RSRC_NFOUND;
    return VI_SUCCESS;
}

CSessionTCPIP::Liveness CSessionTCPIP::CheckLiveness() const {
    if (socket_ < 0) return Liveness::Dead;
    pollfd pfd{socket_, POLLIN, 0};
    const int ready = poll(&pfd, 1, 0);
    if (ready < 0) return Liveness::Dead;
    if (ready == 0) return Liveness::Idle;
    if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) return Liveness::Dead;
    // Readable with nothing to read: the peer has closed its side.
    int pending = 0;
    if (ioctl(socket_, FIONREAD, &pending) != 0 || pending <= 0) return Liveness::Dead;
    return Liveness::Readable;
}

ViStatus CSessionTCPIP::Reconnect() {
    readAhead_.Clear();
    if (socket_ >= 0) {
        const int closed = close(socket_);
        socket_ = -1;  // the descriptor is released even when close reports an error
        if (closed != 0) return VI_ERROR_CONN_LOST;
    }
    const int fd = OpenConfiguredSocket();
    if (fd < 0) {
        lastSocketError_ = errno;
        return VI_ERROR_CONN_LOST;
    }
    // Gives an instrument that just dropped us a moment to listen again.
    std::this_thread::sleep_for(kReconnectPause);

    const int started = StartConnect(fd, peer_);
    if (started != 0 && started != EINPROGRESS) {
        lastSocketError_ = started;
        close(fd);
        return VI_ERROR_CONN_LOST;
    }
    if (started == EINPROGRESS) {
        const int error = FinishConnect(fd, DeadlineAfter(connectTimeoutMs_));
        if (error != 0) {
            lastSocketError_ = error == ETIMEDOUT ? EHOSTUNREACH : error;
            close(fd);
            return VI_ERROR_TMO;
        }
    }
    if (!Adopt(fd)) return VI_ERROR_CONN_LOST;
    return VI_SUCCESS;
}

ViStatus CSessionTCPIP::EnsureConnected(Liveness& liveness) {
    liveness = CheckLiveness();
    if (liveness != Liveness::Dead) return VI_SUCCESS;
    liveness = Liveness::Idle;
    return Reconnect();
}

ViStatus CSessionTCPIP::PrepareTransfer(const void* buf, ViUInt32 count, Liveness& liveness) {
    if (buf == nullptr && count != 0) return VI_ERROR_USER_BUF;
    return EnsureConnected(liveness);
}

bool CSessionTCPIP::Adopt(int fd) {
    if (!MakeBlocking(fd)) {
        lastSocketError_ = errno;
        close(fd);
        return false;
    }
    socket_ = fd;
    justWrote_ = false;
    receiveWait_ = std::chrono::microseconds(-1);  // a new socket waits for ever
    return true;
}

bool CSessionTCPIP::LimitReceiveWait(std::chrono::nanoseconds left) {
    const auto wanted = std::chrono::ceil<std::chrono::microseconds>(left);
    // Setting the option costs a system call, so one set a little longer
    // than needed is kept: reads with the same time-out then set nothing, and
    // a wait ends at most that little after its deadline, never before.
    if (receiveWait_ >= wanted && receiveWait_ - wanted <= kReceiveWaitSlack) return true;
    const auto wait = wanted + kReceiveWaitSlack / 2;
    timeval value{};
    value.tv_sec = static_cast<time_t>(wait.count() / 1'000'000);
    value.tv_usec = static_cast<suseconds_t>(wait.count() % 1'000'000);
    if (setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value) != 0) {
        receiveWait_ = std::chrono::microseconds(-1);
        return false;
    }
    receiveWait_ = wait;
    return true;
}

ssize_t CSessionTCPIP::Receive(ViPBuf buf, ViUInt32 count, int flags) {
    if (count >= CReadAhead::kSize) return recv(socket_, buf, count, flags);
    // Whatever has arrived, up to the read-ahead's size: waiting for all of
    // it would wait for bytes nobody asked for yet.
    const ssize_t n = recv(socket_, readAhead_.Room(), CReadAhead::kSize, flags & ~MSG_WAITALL);
    if (n <= 0) return n;
    return static_cast<ssize_t>(readAhead_.Hand(static_cast<std::size_t>(n), buf, count));
}

ViStatus CSessionTCPIP::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    ViUInt32 ignored = 0;
    if (retCount == nullptr) retCount = &ignored;
    *retCount = 0;
    if (buf == nullptr && count != 0) return VI_ERROR_USER_BUF;
    if (count == 0) {
        Liveness liveness = Liveness::Idle;
        return EnsureConnected(liveness);
    }
    const bool justWrote = std::exchange(justWrote_, false);
    ViUInt32 got = static_cast<ViUInt32>(readAhead_.Take(buf, count));
    if (got == count) {
        *retCount = count;
        return VI_SUCCESS;
    }
    if (socket_ < 0) {
        const ViStatus reconnected = Reconnect();
        if (reconnected != VI_SUCCESS) return reconnected;
    }

    const auto deadline = DeadlineAfter(readTimeoutMs_);
    // A look without waiting takes what has already arrived (often the whole
    // answer) and finds a socket that the peer closed, or that failed, before
    // this read began; such a socket is connected again, as before any
    // transfer. Right after a write, whose own look found the socket alive,
    // the answer is not there yet and the look would only cost a call.
    for (; got == 0 && !justWrote;) {
        const ssize_t n = Receive(buf, count, MSG_DONTWAIT);
        if (n > 0) {
            got = static_cast<ViUInt32>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            const ViStatus reconnected = Reconnect();
            if (reconnected != VI_SUCCESS) return reconnected;
        }
        break;
    }
    while (got < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            *retCount = got;
            return VI_ERROR_TMO;
        }
        const bool bounded = LimitReceiveWait(left);
        if (!bounded && WaitFor(socket_, POLLIN, deadline) < 0) {
            std::this_thread::sleep_for(kWaitFailurePause);
        }
        const ssize_t n = Receive(buf + got, count - got, bounded ? MSG_WAITALL : MSG_DONTWAIT);
        if (n > 0) {
            got += static_cast<ViUInt32>(n);
        } else if (n == 0) {
            SleepUntil(deadline);
            *retCount = got;
            return VI_ERROR_TMO;
        } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            *retCount = got;
            Disconnect();
            return VI_ERROR_CONN_LOST;
        }
    }
    *retCount = count;
    return VI_SUCCESS;
}

ViStatus CSessionTCPIP::Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    ViUInt32 ignored = 0;
    if (retCount == nullptr) retCount = &ignored;
    *retCount = 0;
    justWrote_ = false;
    Liveness liveness = Liveness::Idle;
    const ViStatus prepared = PrepareTransfer(buf, count, liveness);
    if (prepared != VI_SUCCESS || count == 0) return prepared;

    const auto deadline = DeadlineAfter(writeTimeoutMs_);
    ViUInt32 sent = 0;
    for (;;) {
        const ssize_t n = send(socket_, buf + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<ViUInt32>(n);
            if (sent == count) break;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            *retCount = sent;
            Disconnect();
            return VI_ERROR_CONN_LOST;
        }
        if (Clock::now() >= deadline) {
            *retCount = sent;
            return VI_ERROR_TMO;
        }
        if (WaitFor(socket_, POLLOUT, deadline) < 0) std::this_thread::sleep_for(kWaitFailurePause);
    }
    *retCount = count;
    justWrote_ = true;
    return VI_SUCCESS;
}

ViStatus CSessionTCPIP::Clear() { return Reconnect(); }

ViStatus CSessionTCPIP::Disconnect() {
    readAhead_.Clear();  // what came on a connection goes with it
    if (socket_ < 0) return VI_SUCCESS;
    // The descriptor is gone after close whatever it reports, so it is
    // forgotten at once; its number may be reused by the next open.
    const int closed = close(socket_);
    const int error = errno;
    socket_ = -1;
    if (closed != 0 && error != EBADF) return VI_ERROR_CLOSING_FAILED;
    return VI_SUCCESS;
}

ViStatus CSessionTCPIP::SetAttribute(ViAttr attr, ViAttrState value) {
    if (attr != VI_ATTR_TMO_VALUE) return VI_ERROR_NSUP_ATTR;
    // The attribute is 32 bits wide; a wider request means "longer than any".
    const auto timeoutMs =
        static_cast<ViUInt32>(std::min<unsigned long long>(value, VI_TMO_INFINITE));
    connectTimeoutMs_ = timeoutMs;
    readTimeoutMs_ = timeoutMs;
    writeTimeoutMs_ = timeoutMs;
    return VI_SUCCESS;
}

ViStatus CSessionTCPIP::GetAttribute(ViAttr attr, void* value) {
    if (attr != VI_ATTR_TMO_VALUE) return VI_ERROR_NSUP_ATTR;
    if (value == nullptr) return VI_ERROR_USER_BUF;
    *static_cast<ViUInt32*>(value) = connectTimeoutMs_;
    return VI_SUCCESS;
}

}  // namespace kv

#include "socket_util.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace z5rsim {
namespace {

bool MakeAddress(const std::string& address, std::uint16_t port, sockaddr_in& out) {
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

CFd Fail(std::string* error, const std::string& what) {
    if (error != nullptr) *error = what + ": " + std::strerror(errno);
    return CFd();
}

CFd BoundSocket(int type, const std::string& address, std::uint16_t port, std::string* error) {
    sockaddr_in local{};
    if (!MakeAddress(address, port, local)) {
        if (error != nullptr) *error = "not an IPv4 address: " + address;
        return CFd();
    }
    CFd fd(socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) return Fail(error, "socket");
    const int on = 1;
    // A restarted simulator must not wait for the old connections' TIME_WAIT.
    if (type == SOCK_STREAM) setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (bind(fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return Fail(error, "bind " + address + ":" + std::to_string(port));
    }
    return fd;
}

}  // namespace

void CFd::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

CFd ListenTcp(const std::string& address, std::uint16_t port, std::string* error) {
    CFd fd = BoundSocket(SOCK_STREAM, address, port, error);
    if (fd.Valid() && listen(fd.Get(), 16) != 0) return Fail(error, "listen");
    return fd;
}

CFd BindUdp(const std::string& address, std::uint16_t port, std::string* error) {
    CFd fd = BoundSocket(SOCK_DGRAM, address, port, error);
    const int on = 1;
    if (fd.Valid() && setsockopt(fd.Get(), IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0) {
        return Fail(error, "IP_PKTINFO");
    }
    return fd;
}

CFd AcceptClient(int listener) {
    CFd fd(accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (fd.Valid()) {
        const int on = 1;
        // Answers are small and awaited one by one.
        setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    return fd;
}

std::uint16_t LocalPort(int fd) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) return 0;
    return ntohs(local.sin_port);
}

}  // namespace z5rsim

// The few socket operations the server needs, with descriptors that close
// themselves.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace z5rsim {

class CFd {
public:
    CFd() = default;
    explicit CFd(int fd) : fd_(fd) {}
    ~CFd() { Close(); }
    CFd(CFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    CFd& operator=(CFd&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Close();

private:
    int fd_ = -1;
};

// Non-blocking sockets bound to an IPv4 address and port (0 = any free
// port); an invalid descriptor and a message on failure.
CFd ListenTcp(const std::string& address, std::uint16_t port, std::string* error);
// The UDP socket also reports each datagram's local address (IP_PKTINFO).
CFd BindUdp(const std::string& address, std::uint16_t port, std::string* error);
// The next waiting connection, non-blocking and with Nagle off; invalid when
// none is waiting.
CFd AcceptClient(int listener);
std::uint16_t LocalPort(int fd);

}  // namespace z5rsim

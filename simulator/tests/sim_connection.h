// Speaking to the real z5r-sim (started by support/simulator_process.h) over
// 127.0.0.1: packets on its instrument port, lines on its control channel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace z5rtest {

using Bytes = std::vector<std::uint8_t>;

// A blocking TCP connection to 127.0.0.1:port; -1 on failure.
int ConnectLocal(std::uint16_t port);

// An open socket that closes itself.
class CConnection {
public:
    explicit CConnection(std::uint16_t port) : fd_(ConnectLocal(port)) {}
    ~CConnection();
    CConnection(const CConnection&) = delete;
    CConnection& operator=(const CConnection&) = delete;
    int Fd() const { return fd_; }
    bool Send(const Bytes& bytes) const;
    // The next whole packet, or nothing within `timeoutMs`.
    std::optional<Bytes> ReadPacket(int timeoutMs = 5000) const;
    std::optional<Bytes> Exchange(const Bytes& request, int timeoutMs = 5000) const;
    // A control command: the answer's lines up to and including OK or ERR.
    std::string Control(const std::string& line, int timeoutMs = 5000) const;

private:
    int fd_;
};

}  // namespace z5rtest

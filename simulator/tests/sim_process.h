// The real z5r-sim for tests: started with every port 0, its ports read
// from the ready line, spoken to over 127.0.0.1.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace z5rtest {

using Bytes = std::vector<std::uint8_t>;

class CSimProcess {
public:
    explicit CSimProcess(const std::vector<std::string>& extraArgs = {}, bool captureErrors = false);

    bool Ready() const { return port_ != 0; }
    std::uint16_t Port() const { return port_; }
    std::uint16_t ControlPort() const { return controlPort_; }
    kvtest::ChildProcess& Child() { return *child_; }

private:
    std::unique_ptr<kvtest::ChildProcess> child_;
    std::uint16_t port_ = 0;
    std::uint16_t controlPort_ = 0;
};

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

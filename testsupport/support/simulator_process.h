// The simulated instrument as a child process on free ports of 127.0.0.1,
// with its control channel for looking at and disturbing what it holds. The
// one launcher of z5r-sim for every module's tests and the benchmarks.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace kvtest {

// Where the build put z5r-sim; empty when it is not built.
std::string SimulatorPath();

class CSimulator {
public:
    // Starts z5r-sim with `options` besides the ports and waits for its
    // ready line; Started() tells whether it came.
    explicit CSimulator(const std::vector<std::string>& options = {});
    // The same, with the child's standard streams as `child` asks.
    CSimulator(const std::vector<std::string>& options, const ChildOptions& child);
    ~CSimulator();
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;

    bool Started() const { return port_ != 0 && controlPort_ != 0; }
    std::uint16_t Port() const { return port_; }
    std::uint16_t ControlPort() const { return controlPort_; }
    std::string Resource() const;

    // One control command; the lines before "OK", or nothing with `error`
    // set to the "ERR ..." line (or to why no answer came).
    std::vector<std::string> Control(const std::string& command, std::string* error = nullptr);
    // `state` as key -> value.
    std::map<std::string, std::string> State();
    // SIGKILL, waited for: the instrument is gone at once.
    void Kill();
    // The process itself, for its exit and its standard error (only once
    // Started()).
    ChildProcess& Child() { return *process_; }

private:
    bool ConnectControl();

    std::unique_ptr<ChildProcess> process_;
    std::uint16_t port_ = 0;
    std::uint16_t controlPort_ = 0;
    int control_ = -1;
    std::string pending_;
};

}  // namespace kvtest

// The driver's and the client's tests know it under their own namespace.
namespace drvtest {
using kvtest::CSimulator;
using kvtest::SimulatorPath;
}  // namespace drvtest

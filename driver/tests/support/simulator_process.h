// The simulated instrument as a child process on free ports, with its
// control channel for looking at and disturbing what it holds.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace drvtest {

// Where the build put z5r-sim; empty when it is not built.
std::string SimulatorPath();

class CSimulator {
public:
    // Starts z5r-sim with `options` besides the ports and waits for its
    // ready line; Started() tells whether it came.
    explicit CSimulator(const std::vector<std::string>& options = {});
    ~CSimulator();
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;

    bool Started() const { return port_ != 0 && controlPort_ != 0; }
    std::uint16_t Port() const { return port_; }
    std::string Resource() const;

    // One control command; the lines before "OK", or nothing with `error`
    // set to the "ERR ..." line (or to why no answer came).
    std::vector<std::string> Control(const std::string& command, std::string* error = nullptr);
    // `state` as key -> value.
    std::map<std::string, std::string> State();
    // SIGKILL, waited for: the instrument is gone at once.
    void Kill();

private:
    bool ConnectControl();

    std::unique_ptr<kvtest::ChildProcess> process_;
    std::uint16_t port_ = 0;
    std::uint16_t controlPort_ = 0;
    int control_ = -1;
    std::string pending_;
};

}  // namespace drvtest

// A child process for tests: started with posix_spawn, its standard output
// read line by line through a pipe, with bounded waits.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace kvtest {

class ChildProcess {
public:
    // Starts argv[0] (a path) with the arguments; standard error is inherited.
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // The next line of output without its newline, or nothing when the child
    // closed its output or `timeoutMs` passed.
    std::optional<std::string> ReadLine(int timeoutMs = 10000);
    // Everything the child still writes until it exits (bounded).
    std::string ReadRest(int timeoutMs = 10000);
    // Waits for the exit; the exit code, 128+signal, or -1 on time-out.
    int Wait(int timeoutMs = 10000);
    void Kill(int signal);

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
    bool reaped_ = false;
    int exitCode_ = -1;
};

}  // namespace kvtest

// A child process for tests: started with posix_spawn, its standard output
// read line by line through a pipe, with bounded waits.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvtest {

// What a child gets besides the standard output pipe.
struct ChildOptions {
    bool pipeInput = false;        // standard input from WriteInput / CloseInput
    bool captureErrors = false;    // standard error read with ReadErrorLine / ReadErrorRest
    std::string workingDirectory;  // empty: the test's own
};

class ChildProcess {
public:
    // Starts argv[0] (a path) with the arguments; standard input and standard
    // error are inherited.
    explicit ChildProcess(const std::vector<std::string>& argv);
    ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options);
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // The next line of output without its newline, or nothing when the child
    // closed its output or `timeoutMs` passed.
    std::optional<std::string> ReadLine(int timeoutMs = 10000);
    // Everything the child still writes until it exits (bounded).
    std::string ReadRest(int timeoutMs = 10000);
    // The same for standard error (only with captureErrors).
    std::optional<std::string> ReadErrorLine(int timeoutMs = 10000);
    std::string ReadErrorRest(int timeoutMs = 10000);
    // Writes to the child's standard input (only with pipeInput); false when
    // the child no longer reads it.
    bool WriteInput(std::string_view text);
    // Ends the child's standard input.
    void CloseInput();
    // Waits for the exit; the exit code, 128+signal, or -1 on time-out.
    int Wait(int timeoutMs = 10000);
    void Kill(int signal);

private:
    struct Stream {
        int fd = -1;
        std::string pending;
    };
    static std::optional<std::string> ReadLineFrom(Stream& stream, int timeoutMs);
    static std::string ReadRestFrom(Stream& stream, int timeoutMs);

    pid_t pid_ = -1;
    Stream output_;
    Stream errors_;
    int input_ = -1;
    bool reaped_ = false;
    int exitCode_ = -1;
};

}  // namespace kvtest

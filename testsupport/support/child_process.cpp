#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace kvtest {

namespace {
using Clock = std::chrono::steady_clock;
int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

struct Pipe {
    int read = -1;
    int write = -1;
};

Pipe MakePipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    return Pipe{fds[0], fds[1]};
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}
}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv)
    : ChildProcess(argv, ChildOptions{}) {}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options) {
    Pipe out = MakePipe();
    Pipe in;
    Pipe err;
    if (options.pipeInput) in = MakePipe();
    if (options.captureErrors) err = MakePipe();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
    if (options.pipeInput) posix_spawn_file_actions_adddup2(&actions, in.read, STDIN_FILENO);
    if (options.captureErrors) posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
    if (!options.workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
    }
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    CloseIfOpen(out.write);
    CloseIfOpen(in.read);
    CloseIfOpen(err.write);
    output_.fd = out.read;
    errors_.fd = err.read;
    input_ = in.write;
    if (rc != 0) {
        CloseIfOpen(output_.fd);
        CloseIfOpen(errors_.fd);
        CloseIfOpen(input_);
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

ChildProcess::~ChildProcess() {
    CloseIfOpen(input_);
    if (!reaped_) {
        kill(pid_, SIGKILL);
        Wait(10000);
    }
    CloseIfOpen(output_.fd);
    CloseIfOpen(errors_.fd);
}

std::optional<std::string> ChildProcess::ReadLineFrom(Stream& stream, int timeoutMs) {
    if (stream.fd < 0) return std::nullopt;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto newline = stream.pending.find('\n');
        if (newline != std::string::npos) {
            std::string line = stream.pending.substr(0, newline);
            stream.pending.erase(0, newline + 1);
            return line;
        }
        pollfd pfd{stream.fd, POLLIN, 0};
        if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) return std::nullopt;
        char chunk[4096];
        const ssize_t got = read(stream.fd, chunk, sizeof chunk);
        if (got <= 0) return std::nullopt;
        stream.pending.append(chunk, static_cast<size_t>(got));
    }
}

std::string ChildProcess::ReadRestFrom(Stream& stream, int timeoutMs) {
    std::string rest = std::move(stream.pending);
    stream.pending.clear();
    if (stream.fd < 0) return rest;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd pfd{stream.fd, POLLIN, 0};
        if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) return rest;
        char chunk[4096];
        const ssize_t got = read(stream.fd, chunk, sizeof chunk);
        if (got <= 0) return rest;
        rest.append(chunk, static_cast<size_t>(got));
    }
}

std::optional<std::string> ChildProcess::ReadLine(int timeoutMs) {
    return ReadLineFrom(output_, timeoutMs);
}

std::string ChildProcess::ReadRest(int timeoutMs) { return ReadRestFrom(output_, timeoutMs); }

std::optional<std::string> ChildProcess::ReadErrorLine(int timeoutMs) {
    return ReadLineFrom(errors_, timeoutMs);
}

std::string ChildProcess::ReadErrorRest(int timeoutMs) {
    return ReadRestFrom(errors_, timeoutMs);
}

bool ChildProcess::WriteInput(std::string_view text) {
    if (input_ < 0) return false;
    // A child that stopped reading must not kill the test with SIGPIPE: the
    // signal is blocked in this thread and a raised one is taken back.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    bool ok = true;
    while (!text.empty()) {
        const ssize_t sent = write(input_, text.data(), text.size());
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) {
            ok = false;
            if (errno == EPIPE) {
                const timespec noWait{};
                sigtimedwait(&pipeSignal, nullptr, &noWait);
            }
            break;
        }
        text.remove_prefix(static_cast<size_t>(sent));
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return ok;
}

void ChildProcess::CloseInput() { CloseIfOpen(input_); }

int ChildProcess::Wait(int timeoutMs) {
    if (reaped_) return exitCode_;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            reaped_ = true;
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exitCode_;
        }
        if (done < 0 || Clock::now() >= deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void ChildProcess::Kill(int signal) {
    if (!reaped_) kill(pid_, signal);
}

}  // namespace kvtest

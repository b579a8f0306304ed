#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    output_ = fds[0];
    if (rc != 0) {
        close(output_);
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

ChildProcess::~ChildProcess() {
    if (!reaped_) {
        kill(pid_, SIGKILL);
        Wait(10000);
    }
    close(output_);
}

std::optional<std::string> ChildProcess::ReadLine(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        pollfd pfd{output_, POLLIN, 0};
        if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) return std::nullopt;
        char chunk[4096];
        const ssize_t got = read(output_, chunk, sizeof chunk);
        if (got <= 0) return std::nullopt;
        pending_.append(chunk, static_cast<size_t>(got));
    }
}

std::string ChildProcess::ReadRest(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string rest = std::move(pending_);
    pending_.clear();
    for (;;) {
        pollfd pfd{output_, POLLIN, 0};
        if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) return rest;
        char chunk[4096];
        const ssize_t got = read(output_, chunk, sizeof chunk);
        if (got <= 0) return rest;
        rest.append(chunk, static_cast<size_t>(got));
    }
}

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

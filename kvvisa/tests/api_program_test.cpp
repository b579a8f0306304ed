// Runs the plain C caller as a child process against a scripted instrument:
// the library is usable from C exactly as its header declares it.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <string>
#include <vector>

#include "support/scripted_peer.h"

extern char** environ;

namespace {

struct ChildResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Reads both pipes until the child closes them, then reaps it.
ChildResult RunProgram(const std::vector<std::string>& args) {
    ChildResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return result;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(KV_API_PROGRAM));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, KV_API_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }

    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        // Bounded: a child that hangs is a failure, not a hung test run.
        if (poll(fds, 2, 30000) <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char chunk[512];
            const ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
            if (n > 0) {
                sinks[i]->append(chunk, static_cast<size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (auto& fd : fds) {
        if (fd.fd >= 0) close(fd.fd);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

TEST(CProgram, SendsTheRequestPrintsTheAnswerAndCloses) {
    std::promise<std::string> request;
    std::promise<bool> closed;
    kvtest::ScriptedPeer peer([&](int fd) {
        char bytes[7] = {};
        request.set_value(kvtest::ReadExactly(fd, bytes, sizeof bytes)
                              ? std::string(bytes, sizeof bytes)
                              : std::string("<read failed>"));
        const char answer[] = "KORVEL,Z5R,000123,1.0\r\n";
        kvtest::WriteAll(fd, answer, sizeof answer - 1);
        closed.set_value(kvtest::WaitForClose(fd, 30000));
    });

    const ChildResult child = RunProgram({std::to_string(peer.Port())});
    EXPECT_EQ(child.exitCode, 0) << child.err;
    EXPECT_EQ(child.out, "KORVEL,Z5R,000123,1.0\n");
    EXPECT_EQ(request.get_future().get(), "*IDN?\r\n");
    EXPECT_TRUE(closed.get_future().get());
    EXPECT_EQ(peer.Accepted(), 1);
}

// Sessions still open at exit are closed when the library unloads; the
// program ends normally and the sanitizer build reports nothing.
TEST(CProgram, ExitWithTheSessionStillOpenIsClean) {
    std::promise<bool> closed;
    kvtest::ScriptedPeer peer([&](int fd) {
        char request[7];
        kvtest::ReadExactly(fd, request, sizeof request);
        const char answer[] = "OK\r\n";
        kvtest::WriteAll(fd, answer, sizeof answer - 1);
        closed.set_value(kvtest::WaitForClose(fd, 30000));
    });

    const ChildResult child = RunProgram({std::to_string(peer.Port()), "--leave-open"});
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(child.out, "OK\n");
    EXPECT_EQ(child.err, "");
    EXPECT_TRUE(closed.get_future().get());
}

TEST(CProgram, ReportsARefusedConnectionWithTheStatusText) {
    kvtest::ScriptedPeer peer([](int) {});
    peer.StopListening();  // the port is known and nobody listens on it

    const ChildResult child = RunProgram({std::to_string(peer.Port())});
    EXPECT_EQ(child.exitCode, 1);
    EXPECT_EQ(child.out, "");
    EXPECT_NE(child.err.find("viOpen: Resource not found"), std::string::npos) << child.err;
    EXPECT_EQ(peer.Accepted(), 0);
}

}  // namespace

#include "process_state.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kv {

namespace {

std::atomic<std::int32_t> cachedProcessId{0};

void ForgetProcessId() { cachedProcessId.store(0, std::memory_order_relaxed); }

// The state letter of /proc/<pid>/stat, or 0 when it cannot be read. The
// program name in brackets may hold blanks and brackets: the state follows
// the last closing bracket.
char ProcessStateLetter(std::int32_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    std::FILE* file = std::fopen(path, "re");
    if (file == nullptr) return 0;
    char line[512];
    const std::size_t n = std::fread(line, 1, sizeof line - 1, file);
    std::fclose(file);
    line[n] = '\0';
    const char* close = std::strrchr(line, ')');
    return close != nullptr && close[1] == ' ' ? close[2] : 0;
}

}  // namespace

bool ProcessEnded(std::int32_t pid) {
    if (pid <= 0) return true;
    if (kill(pid, 0) != 0 && errno == ESRCH) return true;
    const char state = ProcessStateLetter(pid);
    return state == 'Z' || state == 'X';
}

std::int32_t CurrentProcessId() {
    static const bool forgetsAfterFork = pthread_atfork(nullptr, nullptr, ForgetProcessId) == 0;
    std::int32_t id = cachedProcessId.load(std::memory_order_relaxed);
    if (id == 0 || !forgetsAfterFork) {
        id = static_cast<std::int32_t>(getpid());
        cachedProcessId.store(id, std::memory_order_relaxed);
    }
    return id;
}

}  // namespace kv

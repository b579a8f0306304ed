#include "core/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace z5r {

std::string CInstanceLock::LockFilePath(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = (runtime && runtime[0] == '/') ? runtime : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    std::string fileName = name;
    for (char& c : fileName) {
        if (c == '/' || c == '\\') c = '_';
    }
    return dir + "/" + fileName + ".lock";
}

CInstanceLock::CInstanceLock(const std::string& name) : path_(LockFilePath(name)) {
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return;
    // Never wait: a second instance runs without the lock.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return;
    }
    fd_ = fd;
}

CInstanceLock::~CInstanceLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock; the file stays
}

bool CInstanceLock::IsHeld(const std::string& name) {
    const int fd = open(LockFilePath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool held = false;
    if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
        held = (errno == EWOULDBLOCK);
    } else {
        flock(fd, LOCK_UN);
    }
    close(fd);
    return held;
}

}  // namespace z5r

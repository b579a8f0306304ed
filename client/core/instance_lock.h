// Marks a running program: a lock file "<name>.lock" in $XDG_RUNTIME_DIR (or
// /tmp), held with flock for the life of the object. Taking it never fails the
// program: a second instance starts normally without the lock.
#pragma once

#include <string>

namespace z5r {

inline constexpr const char* kClientInstanceName = "KorvelZ5RClient";

class CInstanceLock {
public:
    explicit CInstanceLock(const std::string& name);
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // This object holds the lock.
    bool Owned() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // The lock file of `name` ("/" and "\" in the name become "_").
    static std::string LockFilePath(const std::string& name);
    // Some process (this one included) holds the lock of `name`.
    static bool IsHeld(const std::string& name);

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace z5r

// Tells whether this process shares the machine's own network, where a
// discovery search would broadcast on real interfaces.
#pragma once

#include <unistd.h>

#include <string>

namespace kvtest {

// "net:[<inode>]" of a process's network namespace, or "" when unreadable.
inline std::string NetworkNamespaceOf(const char* pid) {
    const std::string link = std::string("/proc/") + pid + "/ns/net";
    char target[64];
    const ssize_t length = readlink(link.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

// True in the kernel's initial network namespace (whose inode number is fixed)
// and in the namespace of process 1 (a container's own network). Process 1 is
// not always a safe reference alone: a supervisor may run it in a namespace
// apart from the machine's. Unknown counts as the machine's network.
inline bool InMachineNetworkNamespace() {
    constexpr const char* kInitialNamespace = "net:[4026531833]";
    const std::string self = NetworkNamespaceOf("self");
    if (self.empty() || self == kInitialNamespace) return true;
    return self == NetworkNamespaceOf("1");
}

}  // namespace kvtest

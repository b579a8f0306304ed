#include "own_folder.h"

#include <dlfcn.h>
#include <link.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>

namespace kv {

namespace {

// The file of the object this code is part of: libKvVISA.so, or the program
// itself when the library is linked in statically (its link map has no name).
std::string OwnObjectPath() {
    Dl_info info{};
    link_map* map = nullptr;
    const auto self = reinterpret_cast<void*>(&OwnFolder);
    if (dladdr1(self, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 ||
        map == nullptr || map->l_name == nullptr || map->l_name[0] == '\0') {
        char buffer[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }
    // A library loaded by a relative path keeps that path in its link map.
    char* resolved = realpath(map->l_name, nullptr);
    if (resolved == nullptr) return map->l_name;
    std::string path(resolved);
    free(resolved);
    return path;
}

}  // namespace

std::string OwnFolder() {
    const std::string path = OwnObjectPath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace kv

#include "client_start.h"

#include <spawn.h>

#include <cerrno>

extern char** environ;

namespace z5r {

int StartDetached(const std::string& path, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return ENOMEM;
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t child = -1;
    // Fails with the exec's error number when the file cannot be run.
    const int result = posix_spawn(&child, path.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return result;
}

}  // namespace z5r

#include "arguments.h"
#include "splash_settings.h"

namespace z5r {

EClientStart StartClient(const std::string& folder, const std::string& name, const std::string& argumentString) {
    const auto path = ResolveExistingFile(folder, name);
    if (!path) return EClientStart::Missing;
    return StartDetached(*path, SplitArguments(argumentString)) == 0 ? EClientStart::Started
                                                                      : EClientStart::StartFailed;
}

}  // namespace z5r

// Starting the client as a process of its own: the launcher does not wait for
// it, and it is in a session of its own, so it outlives the launcher and is
// not ended with the launcher's terminal or process group.
#pragma once

#include <string>
#include <vector>

namespace z5r {

// Starts `path` with `arguments` (the process's argv[0] is the path itself),
// inheriting the current folder and the environment. 0 when the program
// started, else the error number (a missing or not executable file).
int StartDetached(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace z5r

namespace z5r {

enum class EClientStart {
    Started,      // the client runs
    StartFailed,  // the file exists but could not be started
    Missing,      // no name, or no such file beside the launcher or under the name itself
};

// Finds the client file `name` beside the launcher in `folder` (else under
// the name itself) and starts it with `argumentString` split at blanks.
EClientStart StartClient(const std::string& folder, const std::string& name, const std::string& argumentString);

}  // namespace z5r

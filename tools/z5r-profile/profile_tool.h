// z5r-profile: profile-list files and the password store as plain XML and
// back, for people and scripts.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace z5rprofile {

// Exit codes scripts rely on.
enum EExitCode : int {
    kExitOk = 0,
    kExitNotOfFormat = 1,  // not a file of the format, damaged, or OUT not written
    kExitUsage = 2,        // bad command line
    kExitCannotRead = 3,   // the input file is missing or unreadable
};

// Runs the command line `args` (without the program name).
int RunProfileTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace z5rprofile

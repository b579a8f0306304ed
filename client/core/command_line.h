// The client's two command-line switches.
#pragma once

#include <string>
#include <vector>

namespace z5r {

struct SCommandLine {
    std::string startAddress;     // "-a" value: connect there first
    std::string startProfileArg;  // "-p" value: kept, no further effect

    friend bool operator==(const SCommandLine&, const SCommandLine&) = default;
};

// `args` without the program name. Every argument is examined once, in order;
// a switch takes the argument after it unless that is the other switch, and
// the value is examined again as a possible switch. Later values win.
SCommandLine ParseCommandLine(const std::vector<std::string>& args);

// argv as main() receives it (argv[0] is the program).
SCommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace z5r

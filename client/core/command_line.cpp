#include "core/command_line.h"

namespace z5r {

SCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    SCommandLine result;
    // Each argument is looked at once; a value is looked at again as a switch.
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        const std::string& value = args[i + 1];
        if (args[i] == "-a" && value != "-p") {
            result.startAddress = value;
        } else if (args[i] == "-p" && value != "-a") {
            result.startProfileArg = value;
        }
    }
    return result;
}

SCommandLine ParseCommandLine(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc && argv; ++i) {
        if (argv[i]) args.emplace_back(argv[i]);
    }
    return ParseCommandLine(args);
}

}  // namespace z5r

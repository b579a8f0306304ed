// The tools' command lines: options ("--name", "--name VALUE",
// "--name=VALUE", short aliases) mixed with positional arguments; "--" ends
// the options.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kvtools {

struct OptionSpec {
    std::string_view name;       // "--timeout"
    std::string_view shortName;  // "-t", or empty
    bool takesValue = false;
};

struct GivenOption {
    std::string name;  // the long name, whichever spelling was used
    std::string value;
};

struct CommandLine {
    std::vector<GivenOption> options;
    std::vector<std::string> positionals;

    bool Has(std::string_view name) const;
    // The value of the last occurrence.
    std::optional<std::string> Value(std::string_view name) const;
};

// The parsed command line, or the text of a usage error.
std::variant<CommandLine, std::string> ParseCommandLine(int argc, const char* const* argv,
                                                        std::span<const OptionSpec> specs);

// Milliseconds as a plain decimal number below VI_TMO_INFINITE.
std::optional<unsigned> ParseMilliseconds(std::string_view text);

// Prints "tool: message", the usage line and a hint to stderr; the usage
// exit code.
int ReportUsageError(std::string_view tool, std::string_view message, std::string_view usage);

// What the positional arguments of a tool are.
enum class EPositionals {
    OneResource,         // exactly one resource
    OptionalExpression,  // at most one search expression
};

// What every tool does the same way with its command line: parse it, answer
// --help and --version, and check the positional arguments. Holds the parsed
// command line to go on with, or the exit code when the program is done.
struct ToolText {
    std::string_view name;     // "kvtalk"
    std::string_view usage;    // one usage line
    std::string_view help;     // the whole --help text
    std::string_view version;  // "1.0.0"
    EPositionals positionals = EPositionals::OneResource;
};
std::variant<CommandLine, int> StartTool(int argc, const char* const* argv,
                                         std::span<const OptionSpec> specs, const ToolText& text);

}  // namespace kvtools

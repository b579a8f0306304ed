#include "command_line.h"

#include <charconv>
#include <cstdio>

#include "exit_codes.h"

namespace kvtools {

bool CommandLine::Has(std::string_view name) const {
    for (const auto& option : options) {
        if (option.name == name) return true;
    }
    return false;
}

std::optional<std::string> CommandLine::Value(std::string_view name) const {
    std::optional<std::string> value;
    for (const auto& option : options) {
        if (option.name == name) value = option.value;
    }
    return value;
}

std::variant<CommandLine, std::string> ParseCommandLine(int argc, const char* const* argv,
                                                        std::span<const OptionSpec> specs) {
    CommandLine parsed;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positionals.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--")) {
            const auto equals = arg.find('=');
            if (equals != std::string_view::npos) {
                name = arg.substr(0, equals);
                inlineValue = arg.substr(equals + 1);
            }
        }
        const OptionSpec* spec = nullptr;
        for (const auto& candidate : specs) {
            if (candidate.name == name ||
                (!candidate.shortName.empty() && candidate.shortName == name)) {
                spec = &candidate;
            }
        }
        if (spec == nullptr) return "unknown option \"" + std::string(arg) + "\"";
        GivenOption given{std::string(spec->name), {}};
        if (spec->takesValue) {
            if (inlineValue) {
                given.value = *inlineValue;
            } else if (i + 1 < argc) {
                given.value = argv[++i];
            } else {
                return "option \"" + std::string(name) + "\" needs a value";
            }
        } else if (inlineValue) {
            return "option \"" + std::string(name) + "\" takes no value";
        }
        parsed.options.push_back(std::move(given));
    }
    return parsed;
}

std::optional<unsigned> ParseMilliseconds(std::string_view text) {
    unsigned value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    // The all-ones value means "wait for ever" to the library: not a count.
    if (text.empty() || error != std::errc{} || stop != end || value == 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return value;
}

int ReportUsageError(std::string_view tool, std::string_view message, std::string_view usage) {
    std::fprintf(stderr, "%.*s: %.*s\n%.*s\nTry \"%.*s --help\" for more.\n",
                 static_cast<int>(tool.size()), tool.data(), static_cast<int>(message.size()),
                 message.data(), static_cast<int>(usage.size()), usage.data(),
                 static_cast<int>(tool.size()), tool.data());
    return kExitUsage;
}

std::variant<CommandLine, int> StartTool(int argc, const char* const* argv,
                                         std::span<const OptionSpec> specs, const ToolText& text) {
    auto parsed = ParseCommandLine(argc, argv, specs);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        return ReportUsageError(text.name, *error, text.usage);
    }
    auto& commandLine = std::get<CommandLine>(parsed);
    if (commandLine.Has("--help")) {
        std::fwrite(text.help.data(), 1, text.help.size(), stdout);
        return kExitOk;
    }
    if (commandLine.Has("--version")) {
        std::printf("%.*s %.*s\n", static_cast<int>(text.name.size()), text.name.data(),
                    static_cast<int>(text.version.size()), text.version.data());
        return kExitOk;
    }
    const std::size_t given = commandLine.positionals.size();
    if (text.positionals == EPositionals::OptionalExpression) {
        if (given > 1) return ReportUsageError(text.name, "more than one expression given", text.usage);
    } else if (given != 1) {
        return ReportUsageError(text.name,
                                given == 0 ? "no resource given" : "more than one resource given",
                                text.usage);
    }
    return std::move(commandLine);
}

}  // namespace kvtools

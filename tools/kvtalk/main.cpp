// kvtalk: drives an instrument by hand or from a script with text lines,
// through the library's text layer (RESOURCE::TCS).
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <variant>

#include "command_line.h"
#include "exit_codes.h"
#include "kvvisa/visa.h"
#include "opened_resource.h"
#include "resource_layer.h"
#include "script_line.h"
#include "status_name.h"
#include "talker.h"

namespace {

constexpr char kUsage[] = "Usage: kvtalk [--timeout MS] [--no-wait] [--keep-going] RESOURCE";

constexpr char kHelp[] = R"(Usage: kvtalk [OPTIONS] RESOURCE

Drives an instrument with text lines. Opens RESOURCE::TCS, sends every line
read from standard input as one packet, and prints the instrument's answer
to it as one line on standard output.

Lines:
  NAME                    a command, e.g.  KV_RESET
  NAME = V1 V2 ...        sets a parameter, e.g.  P_MODE = 3
  NAME ?                  gets a parameter, e.g.  P_FREQUENCY ?
  NAME (key=value ...)    header fields given by hand, before "=" or "?":
                          signature, status, bodylen, flaga (a), flagb (b),
                          id, dummy; e.g.  P_MODE (id=7) = 3
  Numbers: decimal (-1.5, 2e-3) or hexadecimal with upper-case digits (0x1F);
  header values: decimal or hexadecimal of either case.
  A header key that names no field, or has no "=value", is ignored with a
  warning. Empty lines and lines starting with "#" are skipped.
  A line that breaks these rules is reported with the part at fault and is
  not sent.

Options:
  --timeout MS    time-out of every transfer in milliseconds (default 5000)
  --no-wait       send the lines without waiting for answers
  --keep-going    go on after a line that failed (always so when standard
                  input is a terminal); a failed link always ends kvtalk
  -h, --help      show this text and exit
  -V, --version   show the version and exit

Examples:
  echo "P_MODE ?" | kvtalk TCPIP::192.168.1.20::8888::SOCKET
  kvtalk --timeout 2000 TCPIP::192.168.1.20::8888::SOCKET < settings.txt

Exit codes:
  0  every line was sent (and answered)
  1  a line failed (malformed, unknown name, no answer in time), or the link
     failed; the lines before it were sent
  2  usage error
  3  the resource cannot be opened
)";

constexpr unsigned kDefaultTimeoutMs = 5000;

constexpr kvtools::OptionSpec kOptions[] = {
    {"--help", "-h", false},      {"--version", "-V", false},  {"--timeout", "", true},
    {"--no-wait", "", false},     {"--keep-going", "", false},
};

}  // namespace

int main(int argc, char** argv) {
    using namespace kvtools;
    // Answers must reach a pipe line by line, as they come.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const auto started =
        StartTool(argc, argv, kOptions, {"kvtalk", kUsage, kHelp, KV_TOOLS_VERSION});
    if (const int* exitCode = std::get_if<int>(&started)) return *exitCode;
    const auto& commandLine = std::get<CommandLine>(started);
    unsigned timeoutMs = kDefaultTimeoutMs;
    if (const auto given = commandLine.Value("--timeout")) {
        const auto parsedTimeout = ParseMilliseconds(*given);
        if (!parsedTimeout) {
            return ReportUsageError("kvtalk", "\"" + *given + "\" is not a time-out in ms", kUsage);
        }
        timeoutMs = *parsedTimeout;
    }
    const bool keepGoing = commandLine.Has("--keep-going") || isatty(STDIN_FILENO) != 0;

    const std::string& resource = commandLine.positionals.front();
    const std::string name = EndsWithLayer(resource, "TCS") ? resource : resource + "::TCS";
    OpenedResource opened(name, timeoutMs);
    if (!opened.IsOpen()) return ReportOpenFailure("kvtalk", name, opened.OpenStatus());
    const ViStatus set = viSetAttribute(opened.Session(), VI_ATTR_TMO_VALUE, timeoutMs);
    if (set < VI_SUCCESS) {
        std::fprintf(stderr, "kvtalk: cannot set the time-out: %s\n", DescribeStatus(set).c_str());
        return kExitFailed;
    }

    kvtalk::Talker talker(opened.Session(), timeoutMs, !commandLine.Has("--no-wait"));
    int exitCode = kExitOk;
    std::string line;
    for (std::size_t lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (kvtalk::IsBlankOrComment(line)) continue;
        const auto result = talker.Talk(lineNumber, line);
        if (result == kvtalk::ELineResult::Done) continue;
        exitCode = kExitFailed;
        if (result == kvtalk::ELineResult::LinkFailed || !keepGoing) break;
    }
    return exitCode;
}

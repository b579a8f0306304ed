// kvmon: shows another program's instrument traffic on a resource, one line
// per transfer, through the library's traffic monitor (RESOURCE::HOOK) and
// its text layer (RESOURCE::HOOK::TCS).
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <variant>
#include <vector>

#include "command_line.h"
#include "exit_codes.h"
#include "kvvisa/visa.h"
#include "monitor_format.h"
#include "opened_resource.h"
#include "resource_layer.h"
#include "status_name.h"
#include "text_line_reader.h"

namespace {

constexpr char kUsage[] = "Usage: kvmon [--raw] RESOURCE";

constexpr char kHelp[] = R"(Usage: kvmon [OPTIONS] RESOURCE

Shows every transfer another program makes on RESOURCE through KvVISA, one
line each, until interrupted (Ctrl-C or SIGTERM):

  12:34:56.789 >> P_MODE = 3      a command written to the instrument
  12:34:56.791 << P_MODE = 3      an answer read from the instrument

Each line starts with the local time in milliseconds; ">>" marks a command,
"<<" an answer. A transfer that failed ends with its status in brackets,
e.g. [VI_ERROR_TMO]. The other program must use exactly the same resource
string. kvmon may start before it; transfers made before kvmon started are
not shown. While kvmon is attached the other program waits for it to take
each transfer; a kvmon that stops reading (Ctrl-Z) holds it up for at most
5 s and is then let go, missing what goes by until it reads again.

Options:
  --raw           show the bytes of each transfer in hexadecimal instead of
                  text lines (opens RESOURCE::HOOK rather than
                  RESOURCE::HOOK::TCS)
  -h, --help      show this text and exit
  -V, --version   show the version and exit

Examples:
  kvmon TCPIP::192.168.1.20::8888::SOCKET
  kvmon --raw TCPIP::192.168.1.20::8888::SOCKET > traffic.txt

Exit codes:
  0  ended by an interrupt (a second interrupt ends it at once)
  1  the monitor session failed
  2  usage error
  3  the monitor cannot be opened
)";

constexpr kvtools::OptionSpec kOptions[] = {
    {"--help", "-h", false},
    {"--version", "-V", false},
    {"--raw", "", false},
};

// A monitor record holds at most 65508 bytes: one read takes any of them.
constexpr std::size_t kReadSize = 65536;

volatile std::sig_atomic_t gStopRequested = 0;

extern "C" void OnStopSignal(int) {
    // A read in progress ends within the monitor's 100 ms poll; a second
    // interrupt means the person does not want to wait even for that.
    if (gStopRequested != 0) _exit(kvtools::kExitOk);
    gStopRequested = 1;
}

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

// 2 when the monitor does not answer: shown as "??".
ViUInt32 Direction(ViSession session) {
    ViUInt32 direction = 2;
    if (viGetAttribute(session, ATTR_HOOK_DIRECTION, &direction) < VI_SUCCESS) direction = 2;
    return direction;
}

void Show(ViUInt32 direction, std::string_view shown, ViStatus status) {
    std::printf("%s\n", kvmon::TransferLine(Now(), direction, shown, status).c_str());
}

// Reports a failed read once per run of equal failures; true when the
// session is gone and watching cannot go on.
class FailureReport {
public:
    bool Failed(ViStatus status) {
        if (status != last_) {
            std::fprintf(stderr, "kvmon: read failed: %s\n",
                         kvtools::DescribeStatus(status).c_str());
        }
        last_ = status;
        return status == VI_ERROR_INV_OBJECT;
    }
    void Succeeded() { last_ = VI_SUCCESS; }

private:
    ViStatus last_ = VI_SUCCESS;
};

int WatchText(ViSession session) {
    kvtools::TextLineReader lines([session](ViPBuf buffer, ViUInt32 count, ViPUInt32 got) {
        return viRead(session, buffer, count, got);
    }, kReadSize);
    FailureReport failures;
    while (gStopRequested == 0) {
        const auto read = lines.Next();
        if (read.outcome == kvtools::TextLineReader::EOutcome::Line) {
            Show(Direction(session), read.line, read.status);
            failures.Succeeded();
        } else if (read.outcome == kvtools::TextLineReader::EOutcome::Failed &&
                   failures.Failed(read.status)) {
            return kvtools::kExitFailed;
        }
    }
    return kvtools::kExitOk;
}

int WatchRaw(ViSession session) {
    std::vector<ViByte> buffer(kReadSize);
    while (gStopRequested == 0) {
        ViUInt32 got = 0;
        const ViStatus status =
            viRead(session, buffer.data(), static_cast<ViUInt32>(buffer.size()), &got);
        // "Busy" is the monitor's word for "nothing published".
        if (got == 0 && status == VI_ERROR_RSRC_BUSY) continue;
        if (status == VI_ERROR_INV_OBJECT) {
            std::fprintf(stderr, "kvmon: read failed: %s\n",
                         kvtools::DescribeStatus(status).c_str());
            return kvtools::kExitFailed;
        }
        // Anything else is a record, possibly of no bytes (a read that got
        // nothing), with its transfer's status.
        Show(Direction(session), got > 0 ? kvmon::HexText(buffer.data(), got) : "(no data)",
             status);
    }
    return kvtools::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kvtools;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const auto started =
        StartTool(argc, argv, kOptions, {"kvmon", kUsage, kHelp, KV_TOOLS_VERSION});
    if (const int* exitCode = std::get_if<int>(&started)) return *exitCode;
    const auto& commandLine = std::get<CommandLine>(started);
    const bool raw = commandLine.Has("--raw");
    // The resource as the other program opens it, whatever layers were typed.
    const std::string watched =
        WithoutLayer(WithoutLayer(commandLine.positionals.front(), "TCS"), "HOOK");
    const std::string name = watched + (raw ? "::HOOK" : "::HOOK::TCS");

    InstallStopHandlers();
    OpenedResource opened(name);
    if (!opened.IsOpen()) return ReportOpenFailure("kvmon", name, opened.OpenStatus());
    std::fprintf(stderr, "kvmon: watching %s; Ctrl-C ends\n", watched.c_str());

    return raw ? WatchRaw(opened.Session()) : WatchText(opened.Session());
}

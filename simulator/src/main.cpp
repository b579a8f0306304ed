// z5r-sim: a simulated Z5R synthesizer on the network (see --help and
// docs/instrument-protocol.md).
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "instrument_state.h"
#include "options.h"
#include "receiver_control.h"
#include "receiver_handler.h"
#include "server.h"

namespace {

int stopWrite = -1;

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(stopWrite, &byte, 1);
}

// SIGTERM and SIGINT end the server loop through a pipe it polls.
bool InstallStopSignals(int writeEnd) {
    stopWrite = writeEnd;
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGTERM, &action, nullptr) != 0 || sigaction(SIGINT, &action, nullptr) != 0) return false;
    signal(SIGPIPE, SIG_IGN);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const z5rsim::SParsedOptions parsed = z5rsim::ParseOptions(args);
    if (parsed.help) {
        std::cout << z5rsim::UsageText();
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "z5r-sim: " << parsed.error << "\n" << z5rsim::UsageText();
        return 2;
    }
    const z5rsim::SOptions& options = *parsed.options;

    int stopPipe[2];
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0 || !InstallStopSignals(stopPipe[1])) {
        std::perror("z5r-sim: signals");
        return 1;
    }

    z5rsim::CInstrumentState state(z5rsim::IdentityOf(options));
    z5rsim::CServer::LogFunction log;
    if (options.verbose) {
        log = [](std::string_view line) { std::cerr << line << std::endl; };
    }
    z5rsim::CServer server(options, state, log);
    z5rsim::CReceiver receiver;
    if (options.receiver) {
        server.SetPersonality(
            [&receiver](std::span<const std::uint8_t> packet, std::string* line) { return receiver.Handle(packet, line); },
            [&receiver](std::string_view line) { return z5rsim::HandleReceiverControlLine(line, receiver); });
    }
    std::string error;
    if (!server.Bind(&error)) {
        std::cerr << "z5r-sim: " << error << "\n";
        return 1;
    }
    std::printf("z5r-sim ready port=%u discovery=%u control=%u\n", server.InstrumentPort(),
                server.DiscoveryPort(), server.ControlPort());
    std::fflush(stdout);
    server.Run(stopPipe[0]);
    return 0;
}

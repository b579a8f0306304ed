// kvfind: lists the resources a KvVISA search finds, one line each, with the
// device behind each serial port name.
#include <stdlib.h>

#include <cstdio>
#include <string>
#include <variant>

#include "command_line.h"
#include "exit_codes.h"
#include "find_line.h"
#include "kvvisa/visa.h"
#include "serial_port_map.h"
#include "status_name.h"

namespace {

constexpr char kUsage[] = "Usage: kvfind [--network] [EXPRESSION]";

constexpr char kHelp[] = R"(Usage: kvfind [OPTIONS] [EXPRESSION]

Lists the instruments KvVISA reaches, one line each: the resource name, then
what the search says of it, separated by tabs:

  ASRL1::INSTR<TAB>free<TAB>/dev/ttyS0          a serial port, free or busy,
                                                and the device it maps to
  USB::0::0::FT12AB34::RAW<TAB><TAB>Z5R bridge  an FTDI USB bridge and its
                                                description
  TCPIP1::10.0.0.5::8888::SOCKET<TAB>Z5R        a network instrument that
                                                answered (only with --network)

Serial ports come first, then USB bridges, then network instruments.
EXPRESSION narrows the search as viFindRsrc does: "ASRL" lists serial ports
only, "USB" or "W2T" USB bridges only; network instruments are kept when their
answer contains EXPRESSION. Without EXPRESSION everything is listed.

Options:
  --network       also search the local networks (a UDP broadcast on every
                  interface, which takes a few seconds)
  -h, --help      show this text and exit
  -V, --version   show the version and exit

Exit codes:
  0  at least one resource listed
  1  nothing found
  2  usage error
)";

constexpr kvtools::OptionSpec kOptions[] = {
    {"--help", "-h", false},
    {"--version", "-V", false},
    {"--network", "", false},
};

void PrintEntry(const kvfind::SFindEntry& entry, const kv::SerialPortMap& map) {
    const std::string line = kvfind::FindLine(entry, map);
    std::printf("%s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kvtools;
    const auto started = StartTool(argc, argv, kOptions,
                                   {"kvfind", kUsage, kHelp, KV_TOOLS_VERSION,
                                    EPositionals::OptionalExpression});
    if (const int* exitCode = std::get_if<int>(&started)) return *exitCode;
    const auto& commandLine = std::get<CommandLine>(started);
    const std::string expression =
        commandLine.positionals.empty() ? std::string() : commandLine.positionals.front();

    // The library searches the network unless told not to; a person asks for
    // the broadcast with --network, whatever the environment says.
    if (commandLine.Has("--network")) {
        unsetenv(kvfind::kNetworkSearchVariable);
    } else {
        setenv(kvfind::kNetworkSearchVariable, "off", 1);
    }

    ViSession manager = VI_NULL;
    if (viOpenDefaultRM(&manager) < VI_SUCCESS) return kExitFailed;
    ViFindList list = VI_NULL;
    ViUInt32 count = 0;
    ViChar desc[VI_FIND_BUFLEN] = {};
    const ViStatus found = viFindRsrc(manager, expression.c_str(), &list, &count, desc);
    if (found < VI_SUCCESS) {
        if (found == VI_ERROR_RSRC_NFOUND) {
            std::fprintf(stderr, "kvfind: nothing found\n");
        } else {
            std::fprintf(stderr, "kvfind: search failed: %s\n", DescribeStatus(found).c_str());
        }
        return kExitFailed;
    }
    const kv::SerialPortMap map = kv::LoadSerialPortMap();
    PrintEntry(kvfind::EntryOf(desc), map);
    // The list closes itself after its last entry.
    for (ViUInt32 i = 1; i < count; ++i) {
        if (viFindNext(list, desc) < VI_SUCCESS) break;
        PrintEntry(kvfind::EntryOf(desc), map);
    }
    if (count == 1) viClose(list);
    return kExitOk;
}

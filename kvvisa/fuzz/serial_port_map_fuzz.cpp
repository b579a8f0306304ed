// Arbitrary bytes as a serial port map file: the reader must neither crash
// nor keep an entry the file's rules do not allow, and every line must be
// either kept, skipped or blank.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "serial_port_map.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kv::SerialPortMap map = kv::ParseSerialPortMap(text);

    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n';
    if (!text.empty() && text.back() != '\n') ++lines;
    Require(map.devices.size() + map.skippedLines <= lines, "one result per line at most");

    for (const auto& [port, device] : map.devices) {
        Require(port <= kv::kMaxSerialPortNumber, "port number in range");
        Require(device.size() > kv::kDeviceFolder.size() &&
                    std::string_view(device).substr(0, kv::kDeviceFolder.size()) == kv::kDeviceFolder,
                "devices only below /dev/");
        Require(device.find_first_of(" \t\r\n#", 0) == std::string::npos && device.find('\0') == std::string::npos,
                "no blanks, comments or zero bytes in a device");
        Require(kv::SerialDeviceFor(map, port) == device, "the map's device wins");
    }
    // Every candidate of the search is a device the rules allow, each port once.
    kv::SerialPortNumber previous = 0;
    bool first = true;
    for (const auto& candidate : kv::SerialPortCandidates(map)) {
        Require(first || candidate.port > previous, "candidates by rising port number, each once");
        Require(kv::SerialDeviceFor(map, candidate.port) == candidate.device, "candidate opens its device");
        previous = candidate.port;
        first = false;
    }
    return 0;
}

// Which device a serial resource ASRLn::INSTR opens.
//
// A port map file holds lines "ASRL<n> = /dev/<device>" and "#" comments.
// The file is the one KVVISA_SERIAL_PORTS names; without that variable,
// $XDG_CONFIG_HOME/kvvisa/serial-ports.conf (default ~/.config), and failing
// that /etc/kvvisa/serial-ports.conf. A port the map does not name follows
// the default rule, which depends only on n, so the same devices always get
// the same names:
//   ASRL1   .. ASRL64   -> /dev/ttyS0   .. /dev/ttyS63
//   ASRL65  .. ASRL128  -> /dev/ttyUSB0 .. /dev/ttyUSB63
//   ASRL129 .. ASRL192  -> /dev/ttyACM0 .. /dev/ttyACM63
// A line "default = off" in the map file turns the default rule off, so
// that only the ports the file names exist.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

using SerialPortNumber = std::uint32_t;

// The highest port number a map file may name.
inline constexpr SerialPortNumber kMaxSerialPortNumber = 65535;
// Only paths below this folder are opened as serial ports.
inline constexpr std::string_view kDeviceFolder = "/dev/";

struct SerialPortMap {
    std::map<SerialPortNumber, std::string> devices;
    bool defaultRule = true;
    // Lines that were neither blank, a comment nor a usable entry, and
    // entries naming a port already mapped (the first one counts).
    std::size_t skippedLines = 0;
};

// Reads a map file's text. Junk lines, numbers out of range and devices
// outside /dev/ are skipped; a repeated port keeps its first device.
SerialPortMap ParseSerialPortMap(std::string_view text);

// The map file in force, as described above; an empty map when there is none.
SerialPortMap LoadSerialPortMap();

// The default rule's device for port n, if the rule reaches it.
std::optional<std::string> DefaultSerialDevice(SerialPortNumber port);

// The device port n opens: the map's, else the default rule's.
std::optional<std::string> SerialDeviceFor(const SerialPortMap& map, long long port);

struct SerialPortCandidate {
    SerialPortNumber port;
    std::string device;
};

// Every port the map or the default rule names, by port number; a default
// port whose device the map already gives another number is left out.
std::vector<SerialPortCandidate> SerialPortCandidates(const SerialPortMap& map);

}  // namespace kv

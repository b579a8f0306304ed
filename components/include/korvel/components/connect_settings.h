// The connection dialog's settings file: per device name, the automatic
// connection option, the stored address and the address history. Plain
// functions without widgets.
//
// File format (UTF-8 XML; other devices' elements are kept when saving):
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <connection>
//     <device name="Z5R" autoconnect="true" address="192.168.1.20">
//       <history>
//         <address>192.168.1.20</address>
//         <address>169.254.0.254</address>
//       </history>
//     </device>
//   </connection>
//
// "<connection/>" alone is a valid file holding nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace korvel {

struct ConnectSettings {
    bool autoConnect = false;
    std::string address;               // stored address, "" when none
    std::vector<std::string> history;  // most recent first, no repeats
};

// How many addresses the history keeps.
inline constexpr std::size_t kConnectHistorySize = 10;

// The settings of `device` in the file. An empty file name, a missing or
// unreadable file, a corrupt file or a file without that device give the
// defaults (nothing stored). Blank history entries are skipped, repeats
// dropped, the history cut to its size.
ConnectSettings LoadConnectSettings(const std::string& fileName, const std::string& device);

// Writes the settings of `device` into the file, keeping the other devices'
// entries of a readable file (a corrupt one is replaced). The file is written
// under a temporary name and renamed, so a failed write leaves the old one.
// False when the file name is empty or the file cannot be written.
bool SaveConnectSettings(const std::string& fileName, const std::string& device,
                         const ConnectSettings& settings);

// Puts `address` (trimmed; ignored when blank) at the front of the history,
// removing an earlier copy, and cuts the history to its size.
void RememberAddress(ConnectSettings& settings, const std::string& address);

}  // namespace korvel

// Pulse packet files (.ppl): plain text, no header, one line per pulse, ticked
// or not: duration TAB period TAB duty factor TAB 1 or 0, the numbers with 13
// significant digits and a period as the decimal point, lines ending in CR LF.
// File names are the platform's own (UTF-8).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/pulse.h"

namespace z5r {

enum EPacketFileStatus : int {
    pfsOk = 0,
    pfsCannotOpen = 1,   // missing, unreadable, or not a file
    pfsCannotWrite = 2,  // cannot be created, or a write or the close failed
};

// The pulses of a packet file's text. Lines end with LF or CR LF; empty lines
// are skipped. Each other line gives one pulse from the whitespace-separated
// numbers at its start (a comma counts as a decimal point): duration, period,
// duty factor and ticked (any number but 0). Reading stops at the first
// thing that is no number; missing numbers are 0, so a line of junk gives an
// unticked pulse of zeros. Numbers too large for a double are infinite, too
// small ones 0. Values are kept as they are, in or out of any bounds.
std::vector<SPulse> ParsePacketText(std::string_view text);

// The text of a packet file.
std::string PacketFileText(const std::vector<SPulse>& packet);

// Appends the pulses of the file at `path` to `pulses`; nothing is appended
// unless the file could be read whole.
EPacketFileStatus ReadPacketFile(const std::string& path, std::vector<SPulse>& pulses);

// Writes the packet to `path`, replacing its content. pfsOk only when every
// byte was written and the file closed.
EPacketFileStatus WritePacketFile(const std::string& path, const std::vector<SPulse>& packet);

}  // namespace z5r

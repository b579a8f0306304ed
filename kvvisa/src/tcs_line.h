// Text lines of the text-command layer and their translation into packets.
//
// A line is a name (letters, digits, "_"), optional header overrides in
// parentheses ("(id=7 status=0x8000)"), then nothing for a plain command,
// "=" to set a parameter or "?" to get one, followed by numbers:
//     KV_RESET
//     P_MODE = 3
//     P_FREQUENCY (b=0x60) ?
//     KV_RUN (bodylen=8 id=12)
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "kvvisa/visatype.h"
#include "protocol_library.h"

namespace kv {

// Translates one line (without its line end) into one whole packet, header
// and body. VI_ERROR_INV_FMT when the line does not follow the grammar, names
// a command or parameter the protocol does not know, or asks for a header
// field value that does not fit; `packet` is then left empty.
ViStatus TranslateLine(std::string_view line, const IProtocolNames& names,
                       std::vector<std::uint8_t>& packet);

}  // namespace kv

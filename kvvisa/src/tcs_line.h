// Text lines of the text-command layer translated into packets; the lines'
// grammar is in tcs_grammar.h.
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

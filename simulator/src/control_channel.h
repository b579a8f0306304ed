// The control channel's commands: one text line in, the answer text out
// (ending with a line "OK" or "ERR <reason>"), and what the server has to do
// about it. Commands: state, drop, mute on|off, lose-ref, restore-ref,
// error <status>, rf-button on|off, quit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "instrument_state.h"
#include "server_status.h"

namespace z5rsim {

enum class EControlAction { None, DropClients, Quit };

struct SControlReply {
    std::string text;
    EControlAction action = EControlAction::None;
};

// A control line split at blanks.
std::vector<std::string_view> ControlWords(std::string_view line);

SControlReply HandleControlLine(std::string_view line, CInstrumentState& state, SServerStatus& status);

}  // namespace z5rsim

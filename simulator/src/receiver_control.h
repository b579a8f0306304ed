// The receiver's control commands (z5r-sim --receiver), besides the common
// ones: the scene and the faults.
//   tone <Hz> <dB>            adds a tone
//   noise <dB> [<seed>]       sets the noise floor (and its seed); noise off
//   attenuation <dB>          the P_LOG_KOEF attenuation
//   clear-scene               no tones, no noise, no attenuation
//   fault extra-pairs <n> | data-length <+-bytes> | data-status <status> |
//         stop-after <answers> | none
//   receiver                  mode=, data-packets=
#pragma once

#include <optional>
#include <string_view>

#include "control_channel.h"
#include "receiver_handler.h"

namespace z5rsim {

// Nothing when the line is not one of the receiver's commands.
std::optional<SControlReply> HandleReceiverControlLine(std::string_view line, CReceiver& receiver);

}  // namespace z5rsim

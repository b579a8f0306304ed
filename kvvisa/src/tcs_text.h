// Packets shown as text lines of the text-command layer, in the grammar the
// layer reads: name, header fields that differ from what is usual, and for
// a set or get the values, e.g. "P_MODE ( Status=KV_UNKNOWN_PARAMETER ) ? 3".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol_library.h"

namespace kv {

// The status a packet normally carries: requests 0x8000, answers 0. Only a
// status that differs from it is shown.
inline constexpr std::int16_t kCommandStatus = -32768;
inline constexpr std::int16_t kAnswerStatus = 0;

// One packet of `size` bytes (at least the 16-byte header) as one line
// without line end. Body bytes that the header announces but `size` does
// not hold are not read.
std::string PacketToText(const std::uint8_t* packet, std::size_t size,
                         std::int16_t expectedStatus, const IProtocolNames& names);

}  // namespace kv

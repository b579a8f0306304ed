// The instrument's side of network discovery: a datagram "1" asks who is
// there, the answer is "<address>\t<port>\t<description>\r\n".
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "instrument_state.h"

namespace z5rsim {

// "1", optionally followed by blanks or a line end (as typed by hand).
bool IsDiscoveryRequest(std::span<const char> datagram);

// `address` is the local address the request arrived on, `port` the
// instrument's TCP port; the description is the name and the serial number.
std::string DiscoveryReply(std::string_view address, std::uint16_t port, const SIdentity& identity);

}  // namespace z5rsim

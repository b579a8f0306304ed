// The control channel's picture of the instrument: one key=value line per
// readable field of kvproto/instrument_map.h, in the field's units (hertz,
// dBm, seconds, degrees), then the lists, the packet and the server's counts.
#pragma once

#include <cstdint>
#include <string>

#include "instrument_state.h"
#include "server_status.h"

namespace z5rsim {

// A wire value in setting units, exactly: "-10.00" for hundredths of a dB,
// "0.00001" for nanoseconds as seconds, "1000000000" for hertz.
std::string FormatSetting(std::int64_t wire, double scale);

std::string StateReport(const CInstrumentState& state, const SServerStatus& status);

}  // namespace z5rsim

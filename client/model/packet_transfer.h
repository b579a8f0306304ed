// Which pulses of the working packet go to the instrument, and how what it
// reads back returns into the packet. Only ticked pulses are sent: the tick
// is what the packet period is checked against, so an unticked pulse sent
// along would make the packet longer than the check allowed. Unticked pulses
// stay in the packet where they are, so the operator can tick them again.
#pragma once

#include <vector>

#include "core/pulse.h"

namespace z5r {

// The ticked pulses, in order.
std::vector<SPulse> PulsesToSend(const std::vector<SPulse>& packet);

// Puts the instrument's read-back of the sent pulses into `packet`: the
// ticked pulses take the returned values in order; ticked pulses beyond the
// returned count are removed (the instrument did not take them); pulses
// returned beyond the ticked ones are appended, ticked.
void MergeReadBack(std::vector<SPulse>& packet, const std::vector<SPulse>& readBack);

}  // namespace z5r

// The tooltip that describes a profile of the profile list.
#pragma once

#include <string>

#include "core/profile.h"

namespace z5r {

// The translated description of `profile`: mode, trigger and dwell, frequency,
// power, ceiling, attenuator, sync output, external power control and
// reference, each line as the selectors and edits would show it.
std::string ProfileTooltip(const SProfile& profile);

// A real in the general text form (up to 15 significant digits).
std::string GeneralNumberText(double value);

}  // namespace z5r

// The point lists the client builds from the sweep parameters: the combined
// frequency-and-power sweep and the logarithmic frequency sweep run on the
// instrument as lists, and manual stepping walks through the same points.
#pragma once

#include "core/profile.h"
#include "model/segment_expansion.h"

namespace z5r {

// The longest list the client builds from the sweep parameters.
inline constexpr double kMaxClientListPoints = 5001;

// Whether the mode of `profile` runs as a client-built list: the combined
// sweep, or the frequency sweep with logarithmic spacing.
bool IsClientBuiltSweep(const SProfile& profile);

// Replaces a number of frequency points above 5001 by 5001. Returns whether
// it changed (the window then shows the new value in edtPoints).
bool LimitClientListPoints(SFreqParams& freq);

// The one segment the sweep parameters describe in the profile's mode (all
// zero in the fixed mode and the list sweep); both end levels pass the
// ceiling.
SSegmentRange SweepSegment(const SProfile& profile);

// Empties `lists` and refills them from the sweep parameters.
void BuildSweepPoints(SPointLists& lists, const SProfile& profile);

}  // namespace z5r

// The full-range buttons of the frequency and the power group.
#pragma once

#include <vector>

#include "core/control_ranges.h"
#include "model/edit_table.h"

namespace z5r {

// FreqFullRangeB acts in the frequency sweep and the combined sweep,
// PowFullRangeB in the power sweep and the combined sweep.
bool FrequencyFullRangeApplies(int mode);
bool PowerFullRangeApplies(int mode);

// The writes of a full-range button: the start quietly, then the stop with
// the coupling (so centre and span follow). The window marks all edits
// changed before and sends the group as a range after.
std::vector<SEditWrite> FrequencyFullRange(const SInstrumentLimits& limits);
// `ceilingChecked` and `ceilingValue` are AllowLimitPowerCB and the value of
// PowLimit: a ceiling below the instrument's minimum (maximum) replaces it.
std::vector<SEditWrite> PowerFullRange(const SInstrumentLimits& limits, bool ceilingChecked,
                                       double ceilingValue);

}  // namespace z5r

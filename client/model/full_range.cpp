#include "model/full_range.h"

#include "core/profile_enums.h"

namespace z5r {

bool FrequencyFullRangeApplies(int mode) {
    return mode == omFrequencySweep || mode == omFrequencyPowerSweep;
}

bool PowerFullRangeApplies(int mode) {
    return mode == omPowerSweep || mode == omFrequencyPowerSweep;
}

std::vector<SEditWrite> FrequencyFullRange(const SInstrumentLimits& limits) {
    return {{eiStart, limits.minFreq, true}, {eiStop, limits.maxFreq, false}};
}

std::vector<SEditWrite> PowerFullRange(const SInstrumentLimits& limits, bool ceilingChecked,
                                       double ceilingValue) {
    const double start =
        ceilingChecked && ceilingValue < limits.minPow ? ceilingValue : limits.minPow;
    const double stop =
        ceilingChecked && ceilingValue < limits.maxPow ? ceilingValue : limits.maxPow;
    return {{eiPowStart, start, true}, {eiPowStop, stop, false}};
}

}  // namespace z5r

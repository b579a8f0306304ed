#include "model/sweep_points.h"

#include "core/profile_enums.h"
#include "model/power_ceiling.h"

namespace z5r {

bool IsClientBuiltSweep(const SProfile& profile) {
    const int mode = profile.controlparams.mode;
    return mode == omFrequencyPowerSweep ||
           (mode == omFrequencySweep && profile.freqparams.mode == stLog);
}

bool LimitClientListPoints(SFreqParams& freq) {
    if (!(freq.points > kMaxClientListPoints)) return false;
    freq.points = kMaxClientListPoints;
    return true;
}

SSegmentRange SweepSegment(const SProfile& profile) {
    const SFreqParams& f = profile.freqparams;
    const SPowParams& p = profile.powparams;
    SSegmentRange range;
    range.log = f.mode == stLog;
    switch (profile.controlparams.mode) {
        case omFrequencySweep:
            range.intervals = f.points - 1.0;
            range.startFreq = f.start;
            range.stopFreq = f.stop;
            range.startLevel = p.fix;
            range.stopLevel = p.fix;
            break;
        case omFrequencyPowerSweep:
            range.intervals = f.points - 1.0;
            range.startFreq = f.start;
            range.stopFreq = f.stop;
            range.startLevel = p.start;
            range.stopLevel = p.stop;
            break;
        case omPowerSweep:
            range.intervals = p.points - 1.0;
            range.startFreq = f.fix;
            range.stopFreq = f.fix;
            range.startLevel = p.start;
            range.stopLevel = p.stop;
            break;
        default:
            range.intervals = -1.0;
            break;
    }
    range.startLevel = LimitPower(p, range.startLevel);
    range.stopLevel = LimitPower(p, range.stopLevel);
    return range;
}

void BuildSweepPoints(SPointLists& lists, const SProfile& profile) {
    ExpandSegment(lists, true, SweepSegment(profile), PowerCeiling(profile.powparams));
}

}  // namespace z5r

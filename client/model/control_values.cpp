#include "model/control_values.h"

#include <cmath>
#include <limits>

#include "model/hand_step.h"

namespace z5r {

EditValues DisplayedEditValues(const SProfile& profile, const SControlInputs& in) {
    EditValues values;
    if (in.settingsLocked) {
        values.fill(std::numeric_limits<double>::quiet_NaN());
        return values;
    }
    for (int i = 0; i < kEditCount; ++i) {
        const double* field = RecordField(profile, i);
        values[static_cast<std::size_t>(i)] = field ? *field : 0.0;
    }
    const SFreqParams& f = profile.freqparams;
    const SPowParams& p = profile.powparams;
    if (FrequencyRangeOn(in)) values[eiCenter] = (f.start + f.stop) / 2.0;
    if (PowerRangeOn(in)) values[eiPowCenter] = (p.start + p.stop) / 2.0;
    values[eiSpan] = std::fabs(f.stop - f.start);
    values[eiPowSpan] = std::fabs(p.stop - p.start);
    return values;
}

SReadouts ReadoutValues(const SProfile& profile, const SControlInputs& in,
                        std::optional<SSteppedPoint> lastStepped) {
    SReadouts r;
    const bool stepping = ManualSteppingActive(in.mode, in.trigger, in.runmode, in.settingsLocked);
    r.f0 = stepping && lastStepped ? lastStepped->frequency : profile.freqparams.fix;
    r.p0 = stepping && lastStepped ? lastStepped->level : profile.powparams.fix;
    if (FrequencyRangeOn(in)) {
        r.f1 = profile.freqparams.start;
        r.f2 = profile.freqparams.stop;
    }
    if (PowerRangeOn(in)) {
        r.p1 = profile.powparams.start;
        r.p2 = profile.powparams.stop;
    }
    return r;
}

SDisplayedControls DisplayedControls(const SProfile& profile, const SControlInputs& in) {
    const bool locked = in.settingsLocked;
    SDisplayedControls d;
    d.edits = DisplayedEditValues(profile, in);
    d.powLimit = locked ? std::numeric_limits<double>::quiet_NaN() : profile.powparams.limit;
    d.mode = locked ? 0 : profile.controlparams.mode;
    d.trigger = locked ? 0 : profile.controlparams.trigger;
    d.runmode = locked ? 0 : profile.controlparams.runmode;
    d.syncmode = locked ? 0 : profile.syncparams.syncmode;
    d.rgfreq = locked ? -1 : profile.syncparams.rgfreq;
    d.attStrategy = profile.powparams.strategy;
    d.pulsemode = profile.pulsemodparams.pulsemode;
    d.sweepType = profile.freqparams.mode;
    d.ceiling = in.ceilingChecked;
    d.extRef = in.extRefChecked;
    d.syncIn = !locked && profile.syncparams.syncin;
    d.syncOut = !locked && profile.syncparams.syncout;
    d.epc = !locked && profile.syncparams.epc;
    d.readouts = ReadoutValues(profile, in);
    return d;
}

}  // namespace z5r

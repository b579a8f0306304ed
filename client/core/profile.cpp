#include "core/profile.h"

#include <cmath>
#include <limits>

#include "core/profile_enums.h"

namespace z5r {

SProfile MakeInitialProfile() {
    SProfile p;
    p.controlparams.mode = omFixed;
    p.controlparams.trigger = tmAuto;
    p.controlparams.runmode = rmSweepStart;
    p.controlparams.dwell = 4.0;

    p.freqparams.mode = stLinear;
    p.freqparams.points = 501.0;

    p.powparams.strategy = asMinHarmonics;
    p.powparams.start = -130.0;
    p.powparams.stop = 0.0;
    p.powparams.fix = -130.0;
    p.powparams.points = 501.0;
    p.powparams.limit = 0.0;

    p.syncparams.syncmode = soNone;
    p.syncparams.rgfreq = rf10MHz;
    p.syncparams.synctime = 0.000255;
    p.syncparams.phase = 0.0;

    p.pulsemodparams.pulsemode = pmNone;
    p.pulsemodparams.tau = 0.000004;
    p.pulsemodparams.periodsingle = 0.000004;
    p.pulsemodparams.q = 1.0;
    p.pulsemodparams.periodpacket = 0.000004;
    return p;
}

int StepExponent(double incpow) {
    if (!std::isfinite(incpow)) return 0;
    const double truncated = std::trunc(incpow);
    // Stored exponents are small; anything beyond int is nonsense from a file.
    if (truncated > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (truncated < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(truncated);
}

}  // namespace z5r

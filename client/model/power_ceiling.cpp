#include "model/power_ceiling.h"

#include "core/profile_enums.h"
#include "model/edit_table.h"

namespace z5r {

std::optional<double> PowerCeiling(const SPowParams& pow) {
    if (!pow.allowlimit) return std::nullopt;
    return pow.limit;
}

double LimitPower(const SPowParams& pow, double level) {
    return pow.allowlimit && level > pow.limit ? pow.limit : level;
}

std::optional<int> CeilingResendEdit(const SProfile& profile) {
    const SPowParams& pow = profile.powparams;
    if (!pow.allowlimit) return std::nullopt;
    if (!(pow.start > pow.limit || pow.stop > pow.limit || pow.fix > pow.limit))
        return std::nullopt;
    const int mode = profile.controlparams.mode;
    return mode == omFixed || mode == omFrequencySweep ? eiPowCenter : eiPowStop;
}

}  // namespace z5r

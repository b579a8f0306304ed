// The optional maximum power level: no level above it is ever sent.
#pragma once

#include <optional>

#include "core/profile.h"

namespace z5r {

// The ceiling in force: powparams.limit while powparams.allowlimit is set.
std::optional<double> PowerCeiling(const SPowParams& pow);

// `level`, or the ceiling when the ceiling is on and the level lies above it.
double LimitPower(const SPowParams& pow, double level);

// After the ceiling box has been changed: while the ceiling is on and the
// record's power start, stop or centre lies above it, the power is sent again
// as if this edit had been confirmed (PowCenter in the fixed mode and the
// frequency sweep, PowStop in the other modes). Nothing otherwise.
std::optional<int> CeilingResendEdit(const SProfile& profile);

}  // namespace z5r

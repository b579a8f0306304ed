#include "korvel/common/round_to.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace VxCore {

namespace {

// Beyond this a double has no fraction left to round.
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
constexpr int kLargestScalingDigits = 308;

// Scaling by a power of ten is off by an ulp or so: 1.025e-6 scaled to
// multiples of 1e-8 is 102.49999999999999. Values that close to a whole
// number or a half are taken as the decimal the caller wrote.
constexpr double kScalingSlackUlps = 4.0;

double Slack(double scaled) {
    return kScalingSlackUlps * std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(scaled));
}

double RoundScaled(double scaled, EDigitRoundMode mode) {
    const double slack = Slack(scaled);
    const double whole = std::round(scaled);
    if (std::fabs(scaled - whole) <= slack) return whole;
    switch (mode) {
        case drmDown: return std::floor(scaled);
        case drmUp: return std::ceil(scaled);
        case drmTruncate: return std::trunc(scaled);
        case drmNearest: break;
    }
    const double below = std::floor(scaled);
    if (std::fabs(scaled - below - 0.5) <= slack) return scaled < 0 ? below : below + 1.0;
    return whole;
}

}  // namespace

double round_to(double value, int digits, EDigitRoundMode mode) {
    if (!std::isfinite(value) || digits < -kLargestScalingDigits || digits > kLargestScalingDigits) return value;
    // Scale by an exact power of ten and divide back (rather than multiply by
    // its inexact inverse), so 102 at -8 gives exactly the double 1.02e-6.
    const double power = std::pow(10.0, std::abs(digits));
    const double scaled = digits < 0 ? value * power : value / power;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= kExactIntegerLimit) return value;
    const double rounded = RoundScaled(scaled, mode);
    return digits < 0 ? rounded / power : rounded * power;
}

}  // namespace VxCore

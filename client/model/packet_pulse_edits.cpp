#include "model/packet_pulse_edits.h"

#include <cmath>
#include <limits>

#include "korvel/common/round_to.h"

namespace z5r {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kLeastDutyFactor = 1.0;

double RoundToPulseStep(double value) {
    return VxCore::round_to(value, kPulseRoundingDigits, VxCore::drmNearest);
}

// The larger of the two, and `floor` when `value` is not a number: a period
// that holds no number is replaced rather than kept.
double AtLeast(double value, double floor) { return value > floor ? value : floor; }

}  // namespace

SPulseTyping PacketPulseTyped(EPulseEdit changed, SPulseValues values) {
    SPulseTyping typing{values, std::nullopt};
    if (changed == EPulseEdit::DutyFactor) {
        const bool valid = values.q >= kLeastDutyFactor;  // false for NaN too
        typing.values.period = valid ? values.tau * values.q : kNaN;
        typing.invalid = !valid;
    } else if (values.tau != 0.0) {
        const double ratio = values.period / values.tau;
        const bool valid = !std::isnan(values.tau) && ratio > kLeastDutyFactor;
        typing.values.q = valid ? ratio : kNaN;
        typing.invalid = !valid;
    }
    return typing;
}

SPulseValues PacketPulseConfirmed(EPulseEdit confirmed, SPulseValues typed, double minPulse) {
    SPulseValues v{RoundToPulseStep(typed.tau), RoundToPulseStep(typed.period), RoundToPulseStep(typed.q)};
    if (confirmed == EPulseEdit::DutyFactor) {
        if (v.q <= kLeastDutyFactor) v.q = (v.tau + minPulse) / v.tau;
        v.period = v.q * v.tau;
    } else if (typed.tau != 0.0) {
        // A duration that rounds to 0 still asks for a pulse: it becomes the
        // shortest one.
        if (v.tau < minPulse) v.tau = minPulse;
        v.period = AtLeast(v.period, 2.0 * minPulse);
        v.period = AtLeast(v.period, v.tau);
        v.q = std::isnan(v.tau) ? kNaN : v.period / v.tau;
    }
    return v;
}

bool IsPulseMakeable(const SPulseValues& values) {
    return !std::isnan(values.tau) && !std::isnan(values.period) && !std::isnan(values.q) && values.tau > 0.0;
}

}  // namespace z5r

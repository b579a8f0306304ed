#include "model/pulse_rules.h"

#include <cmath>
#include <limits>

namespace z5r {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The shortest duty factor: a period no shorter than the duration.
constexpr double kLeastDutyFactor = 1.0;

bool DurationOrPeriod(EPulseEdit edit) { return edit == EPulseEdit::Duration || edit == EPulseEdit::Period; }

}  // namespace

SPulseValues PeriodicPulseTyped(EPulseEdit changed, SPulseValues values) {
    if (DurationOrPeriod(changed)) {
        if (values.tau != 0.0) {
            const double ratio = values.period / values.tau;
            values.q = ratio >= kLeastDutyFactor ? ratio : kNaN;
        }
    } else {
        values.period = values.q >= kLeastDutyFactor ? values.tau * values.q : kNaN;
    }
    return values;
}

SPulseValues PeriodicPulseConfirmed(EPulseEdit confirmed, SPulseValues values) {
    if (DurationOrPeriod(confirmed)) {
        if (values.tau == 0.0) return values;
        if (values.tau < kShortestPulseWidth) values.tau = kShortestPulseWidth;
        if (values.period < kShortestPulsePeriod) values.period = kShortestPulsePeriod;
        if (values.tau + kShortestPulsePause > values.period) values.period = values.tau + kShortestPulsePause;
        values.q = values.period / values.tau;
    } else {
        if (values.q <= kLeastDutyFactor) values.q = (values.tau + kShortestPulsePause) / values.tau;
        values.period = values.q * values.tau;
    }
    return values;
}

double TotalPacketDuration(const std::vector<SPulse>& packet) {
    double total = 0.0;
    for (const SPulse& pulse : packet)
        if (pulse.used) total += pulse.period;
    return total;
}

bool PacketPeriodTooShort(double packetPeriod, double totalDuration) {
    return packetPeriod + kPacketPeriodTolerance < totalDuration;
}

EPacketPeriodVerdict JudgePacketPeriod(double packetPeriod, const std::vector<SPulse>& packet) {
    if (PacketPeriodTooShort(packetPeriod, TotalPacketDuration(packet))) return EPacketPeriodVerdict::TooShort;
    return packet.empty() ? EPacketPeriodVerdict::NoPacket : EPacketPeriodVerdict::Send;
}

}  // namespace z5r

#include "model/edit_table.h"

namespace z5r {

namespace {

constexpr std::array<const char*, kEditCount> kEditNames = {
    "edtStart",    "edtStop",          "edtCenter",      "edtSpan",       "edtPoints",
    "PowStart",    "PowStop",          "PowCenter",      "PowSpan",       "PowPoints",
    "DwellEdit",   "SyncTimeEdit",     "PhaseDelayEdit", "TauSingleEdit", "PeriodSingleEdit",
    "QSingleEdit", "PeriodPacketEdit",
};

// One lookup serves the const and the mutable accessor.
template <typename Profile>
auto FieldOf(Profile& p, int edit) -> decltype(&p.freqparams.start) {
    switch (edit) {
        case eiStart:
            return &p.freqparams.start;
        case eiStop:
            return &p.freqparams.stop;
        case eiCenter:
            return &p.freqparams.fix;
        case eiPoints:
            return &p.freqparams.points;
        case eiPowStart:
            return &p.powparams.start;
        case eiPowStop:
            return &p.powparams.stop;
        case eiPowCenter:
            return &p.powparams.fix;
        case eiPowPoints:
            return &p.powparams.points;
        case eiDwell:
            return &p.controlparams.dwell;
        case eiSyncTime:
            return &p.syncparams.synctime;
        case eiPhase:
            return &p.syncparams.phase;
        case eiTau:
            return &p.pulsemodparams.tau;
        case eiPeriodSingle:
            return &p.pulsemodparams.periodsingle;
        case eiQ:
            return &p.pulsemodparams.q;
        case eiPeriodPacket:
            return &p.pulsemodparams.periodpacket;
        default:
            return nullptr;  // span edits, outside the table
    }
}

}  // namespace

const char* EditName(int edit) {
    return IsTableEdit(edit) ? kEditNames[static_cast<std::size_t>(edit)] : "";
}

double* RecordField(SProfile& profile, int edit) { return FieldOf(profile, edit); }
const double* RecordField(const SProfile& profile, int edit) { return FieldOf(profile, edit); }

EditRanges EditRangesFor(const SInstrumentLimits& limits) {
    const SControlRange freq{limits.minFreq, limits.maxFreq};
    const SControlRange points{ranges::kPoints.minimum, limits.maxPoints};
    const SControlRange pow{limits.minPow, limits.maxPow};
    return EditRanges{
        freq,
        freq,
        freq,
        SControlRange{ranges::kFrequency.minimum, limits.maxFreq - limits.minFreq},
        points,
        pow,
        pow,
        pow,
        SControlRange{ranges::kPowerSpan.minimum, limits.maxPow - limits.minPow},
        points,
        ranges::kDwell,
        ranges::kSyncTime,
        ranges::kPhase,
        ranges::kTau,
        ranges::kPulsePeriod,
        ranges::kDutyFactor,
        ranges::kPulsePeriod,
    };
}

EditRanges InitialEditRanges() {
    using namespace ranges;
    return EditRanges{kFrequency, kFrequency, kFrequency,   kFrequency, kPoints,      kPower,
                      kPower,     kPower,     kPowerSpan,   kPoints,    kDwell,       kSyncTime,
                      kPhase,     kTau,       kPulsePeriod, kDutyFactor, kPulsePeriod};
}

SControlRange PowLimitRangeFor(const SInstrumentLimits& limits) {
    return {limits.minPow, limits.maxPow};
}

}  // namespace z5r

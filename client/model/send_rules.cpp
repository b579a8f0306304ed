#include "model/send_rules.h"

#include <charconv>
#include <cmath>

#include "core/profile_enums.h"
#include "model/whole_number.h"

namespace z5r {

double FixedFrequencyToSend(double fix, const SInstrumentLimits& limits) {
    if (fix >= limits.minFreq && fix <= limits.maxFreq) return fix;
    return (limits.minFreq + limits.maxFreq) / 2.0;
}

int SweepModeToSend(int mode, int sweepType) {
    return mode == omFrequencySweep && sweepType == stLog ? 4 : mode;
}

std::int32_t PhaseToSend(double degrees) { return TruncateToInt32(degrees); }

bool LevelReadBackDiffers(double requested, double readBack) {
    return std::fabs(readBack - requested) > kLevelReadBackTolerance;
}

bool DwellReadBackDiffers(double requested, double readBack) {
    return std::fabs(readBack - requested) > kDwellReadBackTolerance;
}

double ExtRefFrequencyHz(std::string_view itemText) {
    const std::string_view number = itemText.substr(0, itemText.find(' '));
    double megahertz = 0.0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), megahertz);
    if (error != std::errc() || end != number.data() + number.size()) return 0.0;
    return megahertz * 1e6;
}

std::vector<EModeSend> ModeSends(int mode) {
    switch (mode) {
        case omFixed:
            return {EModeSend::FrequencyFixed, EModeSend::PowerFixed};
        case omFrequencySweep:
            return {EModeSend::FrequencyRange, EModeSend::PowerFixed};
        case omPowerSweep:
            return {EModeSend::FrequencyFixed, EModeSend::PowerRange};
        case omFrequencyPowerSweep:
            return {EModeSend::BothSweeps};
        case omListSweep:
            return {EModeSend::ListFromSegments};
        default:
            return {};
    }
}

}  // namespace z5r

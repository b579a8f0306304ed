#include "model/list_corrections.h"

#include <algorithm>
#include <cmath>

#include "core/profile_enums.h"

namespace z5r {

bool ListWasCorrected(const SPointLists& sent, const SPointLists& returned) {
    const std::size_t freqs = std::min(sent.freqs.size(), returned.freqs.size());
    for (std::size_t i = 0; i < freqs; ++i) {
        if (returned.freqs[i] != sent.freqs[i]) return true;
    }
    const std::size_t levels = std::min(sent.levels.size(), returned.levels.size());
    for (std::size_t i = 0; i < levels; ++i) {
        if (std::fabs(returned.levels[i] - sent.levels[i]) > kListLevelTolerance) return true;
    }
    return false;
}

std::vector<SEditWrite> SweepCorrectionWrites(const SProfile& profile,
                                              const SPointLists& returned) {
    std::vector<SEditWrite> writes;
    if (returned.freqs.empty()) return writes;

    const bool combined = profile.controlparams.mode == omFrequencyPowerSweep;
    const double expected = combined ? profile.powparams.start : profile.powparams.fix;
    const auto differing = std::find_if(
        returned.levels.rbegin(), returned.levels.rend(),
        [&](double level) { return std::fabs(level - expected) > kSweepLevelTolerance; });
    if (differing != returned.levels.rend()) {
        writes.push_back(combined ? SEditWrite{eiPowStop, *differing, false}
                                  : SEditWrite{eiPowCenter, *differing, true});
    }

    const double first = returned.freqs.front();
    const double last = returned.freqs.back();
    const SFreqParams& f = profile.freqparams;
    if (first == f.start && last == f.stop) return writes;
    if (first != f.start) writes.push_back({eiStart, first, false});
    if (last != f.stop) writes.push_back({eiStop, last, true});
    return writes;
}

std::vector<SEditWrite> SweepEndPointWrites(const SProfile& profile, const SPointLists& returned) {
    std::vector<SEditWrite> writes;
    if (returned.freqs.empty()) return writes;
    if (returned.freqs.front() != profile.freqparams.start)
        writes.push_back({eiStart, returned.freqs.front(), false});
    if (returned.freqs.back() != profile.freqparams.stop)
        writes.push_back({eiStop, returned.freqs.back(), false});
    if (profile.controlparams.mode != omFrequencyPowerSweep || returned.levels.empty())
        return writes;
    if (std::fabs(returned.levels.front() - profile.powparams.start) > kSweepLevelTolerance) {
        writes.push_back({eiPowStart, returned.levels.front(), false});
    }
    if (std::fabs(returned.levels.back() - profile.powparams.stop) > kSweepLevelTolerance) {
        writes.push_back({eiPowStop, returned.levels.back(), false});
    }
    return writes;
}

void StoreWrites(SProfile& profile, const std::vector<SEditWrite>& writes) {
    for (const SEditWrite& write : writes) {
        if (double* field = RecordField(profile, write.edit)) *field = write.value;
    }
}

}  // namespace z5r

#include "setting_rules.h"

#include <algorithm>
#include <array>

#include "instrument_limits.h"

namespace z5rsim {
namespace {

using F = kvproto::EInstrumentField;
using K = ESettingKind;

constexpr std::int64_t kSweepModes[] = {0, 3, 4, 5};
constexpr std::int64_t kTriggerSources[] = {0, 1, 2};
constexpr std::int64_t kSyncOutModes[] = {0, 1, 1001, 1002, 1003};
constexpr std::int64_t kPulseSources[] = {0, 1};

constexpr SSettingRule Flag(F field) { return {field, K::Flag, 0}; }
constexpr SSettingRule Code(F field, std::span<const std::int64_t> codes) {
    return {field, K::Code, 0, 0, 0, 1, codes};
}
constexpr SSettingRule Range(F field, std::int64_t powerOn, std::int64_t min, std::int64_t max,
                             std::int64_t resolution = 1) {
    return {field, K::Range, powerOn, min, max, resolution, {}};
}

// The level's upper bound here is the flat part of the ceiling; the state
// lowers it further with the frequency.
const std::array kRules{
    Range(F::CwFrequency, 1'000'000'000, kMinFrequencyHz, kMaxFrequencyHz),
    Range(F::SweepStartFrequency, kMinFrequencyHz, kMinFrequencyHz, kMaxFrequencyHz),
    Range(F::SweepStopFrequency, kMaxFrequencyHz, kMinFrequencyHz, kMaxFrequencyHz),
    Range(F::SweepStepFrequency, (kMaxFrequencyHz - kMinFrequencyHz) / 1000, 1,
          kMaxFrequencyHz - kMinFrequencyHz),
    Range(F::Level, -1'000, kMinLevelCdb, kFlatLevelCdb),
    Range(F::SweepStartLevel, -2'000, kMinLevelCdb, kFlatLevelCdb),
    Range(F::SweepStopLevel, 0, kMinLevelCdb, kFlatLevelCdb),
    Range(F::SweepStepLevel, 100, 1, kFlatLevelCdb - kMinLevelCdb),
    Flag(F::RfOutputEnabled),
    Code(F::SweepMode, kSweepModes),
    Code(F::TriggerSource, kTriggerSources),
    Range(F::AttStrategy, 0, 0, kMaxAttStrategy),
    Flag(F::ExtPowerControl),
    Flag(F::FrequencySinglePoint),
    Flag(F::LevelSinglePoint),
    Flag(F::ListSinglePoint),
    Range(F::FrequencyDwell, 10'000'000, kMinDwellNs, kMaxDwellNs, kDwellResolutionNs),
    Range(F::LevelDwell, 10'000'000, kMinDwellNs, kMaxDwellNs, kDwellResolutionNs),
    Range(F::ListDwell, 10'000'000, kMinDwellNs, kMaxDwellNs, kDwellResolutionNs),
    Code(F::SyncOutMode, kSyncOutModes),
    Flag(F::SyncOutInverted),
    Flag(F::SyncOutEnabled),
    Range(F::SyncOutDuration, 10'000, kMinSyncDurationNs, kMaxSyncDurationNs, kTimeResolutionNs),
    Flag(F::TriggerInputInverted),
    Flag(F::ExtRefEnabled),
    Range(F::ExtRefFrequency, 10'000'000, kMinExtRefHz, kMaxExtRefHz),
    Range(F::PhaseOffset, 0, kMinPhaseDeg, kMaxPhaseDeg),
    Flag(F::PulseModEnabled),
    Code(F::PulseModSource, kPulseSources),
    Range(F::PulsePeriod, 10'000, kMinPulsePeriodNs, kMaxPulseTimeNs, kTimeResolutionNs),
    Range(F::PulseWidth, 1'000, kMinPulseWidthNs, kMaxPulseTimeNs, kTimeResolutionNs),
    Flag(F::PacketEnabled),
};

}  // namespace

std::span<const SSettingRule> SettingRules() { return kRules; }

const SSettingRule* FindSettingRule(kvproto::EInstrumentField field) {
    const auto found = std::find_if(kRules.begin(), kRules.end(),
                                    [field](const SSettingRule& rule) { return rule.field == field; });
    return found != kRules.end() ? &*found : nullptr;
}

SAdjusted AsFlag(std::int64_t value) {
    const std::int64_t flag = value != 0 ? 1 : 0;
    return {flag, flag != value};
}

}  // namespace z5rsim

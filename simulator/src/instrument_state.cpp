#include "instrument_state.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "instrument_limits.h"
#include "instrument_status.h"
#include "setting_rules.h"

namespace z5rsim {
namespace {

using Field = kvproto::EInstrumentField;

std::size_t Index(EChunk chunk) { return static_cast<std::size_t>(chunk); }

SWriteResult Accepted(bool corrected, std::vector<std::int64_t> values) {
    return {corrected ? KV_PARAMETER_CORRECTED : KV_NO_ERROR, std::move(values)};
}

SWriteResult Refused(std::int16_t status) { return {status, {}}; }

// The step of a stepped sweep over `span`: at least one unit, at most the
// span, and coarse enough for kMaxSweepPoints points.
SAdjusted AdjustStep(std::int64_t step, std::int64_t span) {
    const std::int64_t finest = std::max<std::int64_t>(1, (span + kMaxSweepPoints - 2) / (kMaxSweepPoints - 1));
    const std::int64_t coarsest = std::max<std::int64_t>(span, 1);
    return RoundAndClamp(step, finest, coarsest, 1);
}

// What each chunk element is rounded and clamped to on arrival (levels get
// the ceiling of their point's frequency at the commit).
struct SElementRule {
    std::int64_t min;
    std::int64_t max;
    std::int64_t resolution;
};

SElementRule ElementRule(EChunk chunk) {
    switch (chunk) {
    case EChunk::ListFrequencies: return {kMinFrequencyHz, kMaxFrequencyHz, 1};
    case EChunk::ListLevels: return {kMinLevelCdb, kFlatLevelCdb, 1};
    case EChunk::PacketWidths: return {kMinPulseWidthNs, kMaxPulseTimeNs, kTimeResolutionNs};
    case EChunk::PacketGaps: return {kMinPacketGapNs, kMaxPulseTimeNs, kTimeResolutionNs};
    }
    return {-kWireValueLimit, kWireValueLimit, 1};
}

std::vector<std::int64_t> TextValues(const std::string& text) {
    std::vector<std::int64_t> values;
    for (std::size_t i = 0; i < text.size() && i < kMaxTextBytes; ++i) {
        values.push_back(static_cast<unsigned char>(text[i]));
    }
    return values;
}

}  // namespace

CInstrumentState::CInstrumentState(SIdentity identity, NowFunction now)
    : identity_(std::move(identity)),
      now_(std::move(now)),
      settings_(kvproto::InstrumentFields().size(), 0) {
    Reset();
    settledAt_ = now_();  // switched on long ago
}

bool CInstrumentState::Supports(Field field) const {
    return identity_.pulseModulation || kvproto::InstrumentField(field).param != kvproto::kParamModulation;
}

bool CInstrumentState::Supports(EChunk chunk) const {
    return identity_.pulseModulation || (chunk != EChunk::PacketWidths && chunk != EChunk::PacketGaps);
}

SWriteResult CInstrumentState::Write(Field field, std::span<const std::int64_t> values) {
    if (!Supports(field)) return Refused(KV_UNKNOWN_PARAMETER);
    const kvproto::SInstrumentField& row = kvproto::InstrumentField(field);
    if (row.access == kvproto::EFieldAccess::ReadOnly) return Refused(KV_PARAMETER_INCORRECT);
    if (values.size() < row.valueCount) return Refused(KV_SMALL_SIZE);
    switch (field) {
    case Field::CwFrequency: return WriteCwFrequency(values[0]);
    case Field::Level: return WriteLevel(values[0]);
    case Field::ConfigureFrequencySweep: return ConfigureFrequencySweep(values);
    case Field::ConfigureLevelSweep: return ConfigureLevelSweep(values);
    case Field::PulsePeriod:
    case Field::PulseWidth: return WritePulseTime(field, values[0]);
    case Field::PointsListBegin: return BeginPointsList(values);
    case Field::PointsListCommit: return CommitPointsList();
    case Field::PacketBegin: return BeginPacket(values);
    case Field::PacketCommit: return CommitPacket();
    default: return WriteStored(field, values[0]);
    }
}

SWriteResult CInstrumentState::WriteStored(Field field, std::int64_t value) {
    const SSettingRule* rule = FindSettingRule(field);
    if (rule == nullptr) return Refused(KV_PARAMETER_INCORRECT);
    SAdjusted adjusted{value, false};
    switch (rule->kind) {
    case ESettingKind::Flag: adjusted = AsFlag(value); break;
    case ESettingKind::Code:
        if (std::find(rule->codes.begin(), rule->codes.end(), value) == rule->codes.end()) {
            return Refused(KV_PARAMETER_INCORRECT);
        }
        break;
    case ESettingKind::Range:
        adjusted = RoundAndClamp(value, rule->min, rule->max, rule->resolution);
        break;
    }
    if (const auto held = held_.find(field); held != held_.end()) adjusted = {held->second, false};
    const bool unusableBefore = ExtRefUnusable();
    const std::int64_t previous = std::exchange(Stored(field), adjusted.value);
    if (field == Field::RfOutputEnabled && previous != adjusted.value) StartSettling();
    // Selecting a reference the loop cannot lock to is an instrument error.
    if (!unusableBefore && ExtRefUnusable()) QueueError(KV_EXTREF_NO_PLL);
    return Accepted(adjusted.corrected, {adjusted.value});
}

SWriteResult CInstrumentState::WriteCwFrequency(std::int64_t value) {
    const SAdjusted adjusted = RoundAndClamp(value, kMinFrequencyHz, kMaxFrequencyHz, 1);
    if (std::exchange(Stored(Field::CwFrequency), adjusted.value) != adjusted.value) StartSettling();
    FitLevelsToFrequency();
    return Accepted(adjusted.corrected, {adjusted.value});
}

SWriteResult CInstrumentState::WriteLevel(std::int64_t value) {
    const std::int64_t ceiling = MaxLevelCdbAt(Stored(Field::CwFrequency));
    const SAdjusted adjusted = RoundAndClamp(value, kMinLevelCdb, ceiling, 1);
    if (std::exchange(Stored(Field::Level), adjusted.value) != adjusted.value) StartSettling();
    return Accepted(adjusted.corrected, {adjusted.value});
}

SWriteResult CInstrumentState::ConfigureFrequencySweep(std::span<const std::int64_t> values) {
    const SAdjusted start = RoundAndClamp(values[0], kMinFrequencyHz, kMaxFrequencyHz, 1);
    const SAdjusted stop = RoundAndClamp(values[1], kMinFrequencyHz, kMaxFrequencyHz, 1);
    const SAdjusted step = AdjustStep(values[2], std::abs(stop.value - start.value));
    Stored(Field::SweepStartFrequency) = start.value;
    Stored(Field::SweepStopFrequency) = stop.value;
    Stored(Field::SweepStepFrequency) = step.value;
    return Accepted(start.corrected || stop.corrected || step.corrected,
                    {start.value, stop.value, step.value});
}

SWriteResult CInstrumentState::ConfigureLevelSweep(std::span<const std::int64_t> values) {
    // A level sweep runs at the CW frequency, so its ceiling applies.
    const std::int64_t ceiling = MaxLevelCdbAt(Stored(Field::CwFrequency));
    const SAdjusted start = RoundAndClamp(values[0], kMinLevelCdb, ceiling, 1);
    const SAdjusted stop = RoundAndClamp(values[1], kMinLevelCdb, ceiling, 1);
    const SAdjusted step = AdjustStep(values[2], std::abs(stop.value - start.value));
    Stored(Field::SweepStartLevel) = start.value;
    Stored(Field::SweepStopLevel) = stop.value;
    Stored(Field::SweepStepLevel) = step.value;
    return Accepted(start.corrected || stop.corrected || step.corrected,
                    {start.value, stop.value, step.value});
}

SWriteResult CInstrumentState::WritePulseTime(Field field, std::int64_t value) {
    if (field == Field::PulsePeriod) {
        const SAdjusted period = RoundAndClamp(value, kMinPulsePeriodNs, kMaxPulseTimeNs, kTimeResolutionNs);
        Stored(Field::PulsePeriod) = period.value;
        // The width never exceeds the period: a shorter period takes it along.
        Stored(Field::PulseWidth) = std::min(Stored(Field::PulseWidth), period.value);
        return Accepted(period.corrected, {period.value});
    }
    const SAdjusted width =
        RoundAndClamp(value, kMinPulseWidthNs, Stored(Field::PulsePeriod), kTimeResolutionNs);
    Stored(Field::PulseWidth) = width.value;
    return Accepted(width.corrected, {width.value});
}

SWriteResult CInstrumentState::BeginPointsList(std::span<const std::int64_t> values) {
    const SAdjusted frequencies = RoundAndClamp(values[0], 0, kMaxListPoints, 1);
    const SAdjusted levels = RoundAndClamp(values[1], 0, kMaxListPoints, 1);
    staged_[Index(EChunk::ListFrequencies)].Begin(static_cast<std::size_t>(frequencies.value));
    staged_[Index(EChunk::ListLevels)].Begin(static_cast<std::size_t>(levels.value));
    listShortened_ = frequencies.corrected || levels.corrected;
    return Accepted(listShortened_, {frequencies.value, levels.value});
}

SWriteResult CInstrumentState::CommitPointsList() {
    CChunkedList& frequencyList = staged_[Index(EChunk::ListFrequencies)];
    CChunkedList& levelList = staged_[Index(EChunk::ListLevels)];
    if (!frequencyList.Complete() || !levelList.Complete()) return Refused(KV_NO_PARAMETERS);
    std::vector<std::int64_t> frequencies = frequencyList.Take();
    std::vector<std::int64_t> levels = levelList.Take();
    // Each level gets the ceiling at its point's frequency; levels beyond the
    // frequency list take the last frequency's (the CW one's without any).
    bool corrected = listShortened_;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const std::int64_t frequency = frequencies.empty()
                                           ? Stored(Field::CwFrequency)
                                           : frequencies[std::min(i, frequencies.size() - 1)];
        const SAdjusted level = RoundAndClamp(levels[i], kMinLevelCdb, MaxLevelCdbAt(frequency), 1);
        levels[i] = level.value;
        corrected = corrected || level.corrected;
    }
    std::vector<std::int64_t> lengths{static_cast<std::int64_t>(frequencies.size()),
                                      static_cast<std::int64_t>(levels.size())};
    committed_[Index(EChunk::ListFrequencies)] = std::move(frequencies);
    committed_[Index(EChunk::ListLevels)] = std::move(levels);
    listShortened_ = false;
    return Accepted(corrected, std::move(lengths));
}

SWriteResult CInstrumentState::BeginPacket(std::span<const std::int64_t> values) {
    const SAdjusted pulses = RoundAndClamp(values[0], 0, kMaxPacketPulses, 1);
    staged_[Index(EChunk::PacketWidths)].Begin(static_cast<std::size_t>(pulses.value));
    staged_[Index(EChunk::PacketGaps)].Begin(static_cast<std::size_t>(pulses.value));
    packetShortened_ = pulses.corrected;
    return Accepted(packetShortened_, {pulses.value});
}

SWriteResult CInstrumentState::CommitPacket() {
    CChunkedList& widths = staged_[Index(EChunk::PacketWidths)];
    CChunkedList& gaps = staged_[Index(EChunk::PacketGaps)];
    if (!widths.Complete() || !gaps.Complete()) return Refused(KV_NO_PARAMETERS);
    committed_[Index(EChunk::PacketWidths)] = widths.Take();
    committed_[Index(EChunk::PacketGaps)] = gaps.Take();
    const bool corrected = std::exchange(packetShortened_, false);
    return Accepted(corrected, {static_cast<std::int64_t>(committed_[Index(EChunk::PacketWidths)].size())});
}

SWriteResult CInstrumentState::PutChunk(EChunk chunk, std::int64_t offset,
                                        std::span<const std::int64_t> values) {
    if (!Supports(chunk)) return Refused(KV_UNKNOWN_PARAMETER);
    if (offset < 0) return Refused(KV_PARAMETER_INCORRECT);
    if (values.empty()) return Refused(KV_SMALL_SIZE);
    CChunkedList& list = staged_[Index(chunk)];
    if (!list.Active()) return Refused(KV_NO_PARAMETERS);
    const SElementRule rule = ElementRule(chunk);
    std::vector<std::int64_t> kept(values.size());
    bool corrected = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const SAdjusted element = RoundAndClamp(values[i], rule.min, rule.max, rule.resolution);
        kept[i] = element.value;
        corrected |= element.corrected;
    }
    const std::size_t stored = list.Put(static_cast<std::size_t>(offset), kept);
    if (stored < kept.size()) {
        kept.resize(stored);  // past the length the begin kept
        corrected = true;
    }
    return Accepted(corrected, std::move(kept));
}

SWriteResult CInstrumentState::ReadChunk(EChunk chunk, std::int64_t offset, std::size_t count) const {
    if (!Supports(chunk)) return Refused(KV_UNKNOWN_PARAMETER);
    const std::vector<std::int64_t>& values = committed_[Index(chunk)];
    if (offset < 0 || static_cast<std::uint64_t>(offset) > values.size()) {
        return Refused(KV_PARAMETER_INCORRECT);
    }
    const auto first = values.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto last = first + static_cast<std::ptrdiff_t>(std::min(count, values.size() - static_cast<std::size_t>(offset)));
    return Accepted(false, std::vector<std::int64_t>(first, last));
}

const std::vector<std::int64_t>& CInstrumentState::Committed(EChunk chunk) const {
    return committed_[Index(chunk)];
}

std::vector<std::int64_t> CInstrumentState::Read(Field field) const {
    if (!Supports(field)) return {};
    switch (field) {
    case Field::ExtRefLocked: return {ExtRefLocked() ? 1 : 0};
    case Field::RfButton: return {rfButton_ ? 1 : 0};
    case Field::InstrumentType: return {kvproto::kInstrumentTypeGenerator};
    case Field::Locked: return {ExtRefUnusable() ? 0 : 1};
    case Field::LevelSettled: return {LevelSettled() ? 1 : 0};
    case Field::NextError: return {errors_.empty() ? 0 : errors_.front()};
    case Field::HasPulseModulation: return {identity_.pulseModulation ? 1 : 0};
    case Field::SerialNumber: return TextValues(identity_.serial);
    case Field::Name: return TextValues(identity_.name);
    default: break;
    }
    if (kvproto::InstrumentField(field).access == kvproto::EFieldAccess::WriteOnly) return {};
    return {Stored(field)};
}

std::int16_t CInstrumentState::TakeError() {
    if (errors_.empty()) return 0;
    const std::int16_t oldest = errors_.front();
    errors_.pop_front();
    return oldest;
}

void CInstrumentState::Reset() {
    for (const SSettingRule& rule : SettingRules()) Stored(rule.field) = rule.powerOn;
    for (CChunkedList& list : staged_) list.Cancel();
    for (auto& values : committed_) values.clear();
    listShortened_ = false;
    packetShortened_ = false;
    errors_.clear();
    StartSettling();
}

void CInstrumentState::LoseReference() {
    referencePresent_ = false;
    if (Stored(Field::ExtRefEnabled) != 0) {
        // Back to the internal reference, as the instrument does on its own.
        Stored(Field::ExtRefEnabled) = 0;
        QueueError(KV_EXTREF_NO_PLL);
    }
}

void CInstrumentState::RestoreReference() { referencePresent_ = true; }

void CInstrumentState::Hold(Field field, std::int64_t wire) {
    held_[field] = wire;
    Stored(field) = wire;
}

void CInstrumentState::QueueError(std::int16_t status) {
    if (status != 0 && errors_.size() < kErrorQueueDepth) errors_.push_back(status);
}

void CInstrumentState::FitLevelsToFrequency() {
    const std::int64_t ceiling = MaxLevelCdbAt(Stored(Field::CwFrequency));
    if (Stored(Field::Level) > ceiling) {
        Stored(Field::Level) = ceiling;
        StartSettling();
    }
    std::int64_t& start = Stored(Field::SweepStartLevel);
    std::int64_t& stop = Stored(Field::SweepStopLevel);
    start = std::min(start, ceiling);
    stop = std::min(stop, ceiling);
    Stored(Field::SweepStepLevel) = AdjustStep(Stored(Field::SweepStepLevel), std::abs(stop - start)).value;
}

void CInstrumentState::StartSettling() {
    settledAt_ = now_() + std::chrono::milliseconds(kSettleTimeMs);
}

bool CInstrumentState::LevelSettled() const { return now_() >= settledAt_; }

bool CInstrumentState::ExtRefLocked() const {
    if (Stored(Field::ExtRefEnabled) == 0 || !referencePresent_) return false;
    const std::int64_t frequency = Stored(Field::ExtRefFrequency);
    return std::find(std::begin(kLockableExtRefHz), std::end(kLockableExtRefHz), frequency) !=
           std::end(kLockableExtRefHz);
}

bool CInstrumentState::ExtRefUnusable() const {
    return Stored(Field::ExtRefEnabled) != 0 && !ExtRefLocked();
}

}  // namespace z5rsim

// What the Z5R synthesizer can do, in the units its settings travel in on
// the wire (whole hertz, hundredths of a dB, nanoseconds, whole degrees).
// Requests outside these ranges are clamped to them and answered with
// KV_PARAMETER_CORRECTED; docs/instrument-protocol.md lists the same numbers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace z5rsim {

// Frequency, 1 Hz resolution.
inline constexpr std::int64_t kMinFrequencyHz = 10'000'000;
inline constexpr std::int64_t kMaxFrequencyHz = 20'000'000'000;
// A stepped sweep has at most this many points; a finer step is widened.
inline constexpr std::int64_t kMaxSweepPoints = 100'001;

// Level, hundredths of a dB. The ceiling is flat up to the knee and then
// falls linearly to kTopLevelCdb at the highest frequency.
inline constexpr std::int64_t kMinLevelCdb = -11'000;
inline constexpr std::int64_t kFlatLevelCdb = 2'000;
inline constexpr std::int64_t kLevelKneeHz = 10'000'000'000;
inline constexpr std::int64_t kTopLevelCdb = 1'500;

// The highest level at a frequency (inside the frequency range), rounded
// down to the level resolution so the output never exceeds it.
constexpr std::int64_t MaxLevelCdbAt(std::int64_t frequencyHz) {
    if (frequencyHz <= kLevelKneeHz) return kFlatLevelCdb;
    if (frequencyHz >= kMaxFrequencyHz) return kTopLevelCdb;
    const std::int64_t drop = kFlatLevelCdb - kTopLevelCdb;
    const std::int64_t span = kMaxFrequencyHz - kLevelKneeHz;
    const std::int64_t above = frequencyHz - kLevelKneeHz;
    return kFlatLevelCdb - (above * drop + span - 1) / span;  // drop rounded up
}

// Dwell per sweep point, nanoseconds, 1 µs resolution.
inline constexpr std::int64_t kMinDwellNs = 100'000;
inline constexpr std::int64_t kMaxDwellNs = 100'000'000'000;
inline constexpr std::int64_t kDwellResolutionNs = 1'000;

// Sync output pulse duration, nanoseconds, 10 ns resolution.
inline constexpr std::int64_t kMinSyncDurationNs = 100;
inline constexpr std::int64_t kMaxSyncDurationNs = 10'000'000;
inline constexpr std::int64_t kTimeResolutionNs = 10;

// Output phase offset, whole degrees.
inline constexpr std::int64_t kMinPhaseDeg = -180;
inline constexpr std::int64_t kMaxPhaseDeg = 180;

// External reference input: the frequency setting's range (1 Hz resolution)
// and the frequencies the reference loop can lock to.
inline constexpr std::int64_t kMinExtRefHz = 1'000'000;
inline constexpr std::int64_t kMaxExtRefHz = 120'000'000;
inline constexpr std::int64_t kLockableExtRefHz[] = {5'000'000, 10'000'000, 100'000'000};

// Attenuator control strategies 0..3.
inline constexpr std::int64_t kMaxAttStrategy = 3;

// Periodic pulse modulation, nanoseconds, kTimeResolutionNs resolution; the
// width never exceeds the period.
inline constexpr std::int64_t kMinPulseWidthNs = 20;
inline constexpr std::int64_t kMinPulsePeriodNs = 40;
inline constexpr std::int64_t kMaxPulseTimeNs = 1'000'000'000;

// Pulse packets: widths and gaps at kTimeResolutionNs resolution; a zero gap
// joins a pulse to the next.
inline constexpr std::int64_t kMaxPacketPulses = 64;
inline constexpr std::int64_t kMinPacketGapNs = 0;

// Point lists.
inline constexpr std::int64_t kMaxListPoints = 5'001;

// Queued error statuses beyond this many are discarded (the oldest stay).
inline constexpr std::size_t kErrorQueueDepth = 64;

// How long the output level takes to settle after a change.
inline constexpr std::int64_t kSettleTimeMs = 50;

// Identity texts travel one byte per value after the field index.
inline constexpr std::size_t kMaxTextBytes = 254;

}  // namespace z5rsim

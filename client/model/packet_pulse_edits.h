// The packet editor's three pulse edits: how duration, period and duty factor
// follow each other while typing, and how a confirmed entry is rounded and
// raised to the shortest pulse.
#pragma once

#include <optional>

#include "model/pulse_rules.h"

namespace z5r {

// Entries are rounded to multiples of 10^kPulseRoundingDigits s (10 ns).
inline constexpr int kPulseRoundingDigits = -8;

struct SPulseTyping {
    SPulseValues values;  // all three; only the coupled one can differ
    // Whether the typed combination is invalid; empty when typing left the
    // judgement as it was (a duration of 0).
    std::optional<bool> invalid;
};

// Typing in `changed`: the duty factor follows the duration and the period
// (invalid unless the period is longer than the duration), the period follows
// the duty factor (invalid below 1).
SPulseTyping PacketPulseTyped(EPulseEdit changed, SPulseValues values);

// Confirming `confirmed`: the values are rounded to 10 ns; a duration below
// `minPulse` is raised to it, the period to twice `minPulse` and to the
// duration, and the duty factor follows; a duty factor of 1 or less becomes
// that of a pause of `minPulse`, and the period follows it. A duration
// entered as 0 leaves the values as rounded. Afterwards the values count as
// valid. The caller writes back the values that differ from its edits.
SPulseValues PacketPulseConfirmed(EPulseEdit confirmed, SPulseValues typed, double minPulse);

// Whether values can make a pulse: all three are numbers and the duration is
// longer than 0 (typing cannot judge a duration of 0, and a pulse of none is
// no pulse).
bool IsPulseMakeable(const SPulseValues& values);

}  // namespace z5r

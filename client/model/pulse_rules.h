// The rules of pulse modulation that need no window: the bounds of periodic
// pulses, the coupling of duration, period and duty factor while typing and on
// confirmation, and whether a packet fits into its packet period.
#pragma once

#include <vector>

#include "core/pulse.h"

namespace z5r {

inline constexpr double kShortestPulseWidth = 2e-8;   // s
inline constexpr double kShortestPulsePeriod = 4e-8;  // s
inline constexpr double kShortestPulsePause = 2e-8;   // s, period - duration
// A packet period this much shorter than the packet still fits: the sum of
// the pulse periods is not exact in binary.
inline constexpr double kPacketPeriodTolerance = 1e-10;  // s

// The three coupled edits of one pulse.
enum class EPulseEdit { Duration, Period, DutyFactor };

// Values of the duration, period and duty-factor edits (s, s, ratio); NaN for
// an edit without a valid number.
struct SPulseValues {
    double tau = 0.0;
    double period = 0.0;
    double q = 0.0;

    friend bool operator==(const SPulseValues&, const SPulseValues&) = default;
};

// Periodic modulation, while typing in `changed`: the duty factor follows the
// duration and the period (NaN while the period is shorter than the
// duration; unchanged while the duration is 0), the period follows the duty
// factor (NaN for a duty factor below 1). The result holds all three values;
// only the coupled one can differ.
SPulseValues PeriodicPulseTyped(EPulseEdit changed, SPulseValues values);

// Periodic modulation, on confirming `confirmed`: the duration and the period
// are raised to their shortest values and to a pause of at least the shortest
// pause, and the duty factor follows; a confirmed duty factor of 1 or less
// becomes that of the shortest pause. A confirmed duration or period of 0
// changes nothing. The caller writes the three values back into the edits.
SPulseValues PeriodicPulseConfirmed(EPulseEdit confirmed, SPulseValues values);

// The sum of the periods of the ticked pulses.
double TotalPacketDuration(const std::vector<SPulse>& packet);

// Whether a packet of `totalDuration` does not fit into `packetPeriod`.
bool PacketPeriodTooShort(double packetPeriod, double totalDuration);

// What confirming the main window's packet period leads to.
enum class EPacketPeriodVerdict {
    TooShort,  // the edit turns red; nothing is sent
    Send,      // the edit is white again; the packet and its period are sent
    NoPacket,  // "Пачка радиоимпульсов не задана"
};
EPacketPeriodVerdict JudgePacketPeriod(double packetPeriod, const std::vector<SPulse>& packet);

}  // namespace z5r

// Limits of the numeric edits before an instrument is connected; frequency,
// power and point limits are then narrowed to the instrument's own.
#pragma once

namespace z5r {

struct SControlRange {
    double minimum;
    double maximum;
};

namespace ranges {
inline constexpr SControlRange kFrequency{0.0, 110000000001.0};  // start, stop, center, span (Hz)
inline constexpr SControlRange kPoints{1.0, 100001.0};           // frequency and power points
inline constexpr SControlRange kPower{-130.0, 35.0};             // start, stop, center, limit (dBm)
inline constexpr SControlRange kPowerSpan{0.0, 150.0};           // dB
inline constexpr SControlRange kDwell{0.00001, 4.0};             // s
inline constexpr SControlRange kSyncTime{0.000001, 0.000255};    // s
inline constexpr SControlRange kPhase{-180.0, 180.0};            // degrees
inline constexpr SControlRange kTau{0.00000002, 4.0};            // s
inline constexpr SControlRange kPulsePeriod{0.00000004, 4.0};    // periodsingle, periodpacket (s)
inline constexpr SControlRange kDutyFactor{1.0, 4000000000.0};
}  // namespace ranges

// The main window's instrument limits while nothing is connected.
struct SInstrumentLimits {
    double minFreq = 0.0;       // Hz
    double maxFreq = 110e9;     // Hz
    double minPow = -130.0;     // dBm
    double maxPow = 35.0;       // dBm
    double maxPoints = 100001.0;
};

}  // namespace z5r

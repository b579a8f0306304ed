// The two-column parameter summary of the main window: fourteen lines
// (0-6 in the first list, 7-13 in the second), each a caption and a value.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/profile.h"

namespace z5r {

// The lines, in their order.
enum ESummaryLine : int {
    slPoints,
    slFrequencyStep,
    slPowerStep,
    slRunMoment,
    slDwell,
    slAttStrategy,
    slPowerLimit,
    slSyncOut,
    slSyncInInverse,
    slSyncOutInverse,
    slSyncTime,
    slExtPowerControl,
    slExtRef,
    slExtRefFrequency,
};

inline constexpr int kSummaryLineCount = slExtRefFrequency + 1;
inline constexpr int kSummaryFirstListLines = slSyncOut;

// What a numeric edit holds and the unit it is shown in: the prefix the
// operator picked in its unit box, else chosen by magnitude.
struct SShownNumber {
    double value = 0.0;
    std::optional<int> power;
};

// The state the summary reads besides the record, as the controller holds it.
struct SSummaryState {
    bool connected = false;
    bool settingsLocked = true;
    // Enabled state of the controls some lines depend on.
    bool runModeEnabled = false;      // RunModeCB
    bool dwellEnabled = false;        // DwellEdit
    bool attStrategyEnabled = false;  // AttStrategyCB
    bool rgFreqEnabled = false;       // RGFreqCB (disabled while the external reference is in use)
    SShownNumber dwell;               // DwellEdit
    SShownNumber powLimit;            // PowLimit
    SShownNumber syncTime;            // SyncTimeEdit
};

// The translated caption of a line; "" outside 0-13.
std::string SummaryCaption(int line);

// The translated value of a line; "---" wherever the line has nothing to
// show, and on every line while disconnected or locked.
std::string SummaryValue(ESummaryLine line, const SProfile& profile, const SSummaryState& state);

std::array<std::string, kSummaryLineCount> SummaryValues(const SProfile& profile,
                                                         const SSummaryState& state);

// The steps of lines 1 and 2 as numbers, nullopt where the line shows "---"
// because of the mode or the sweep type.
std::optional<double> FrequencyStep(const SProfile& profile);
std::optional<double> PowerStep(const SProfile& profile);

}  // namespace z5r

// The values the send handlers of the main window pass to the instrument and
// how they judge what it reads back.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/control_ranges.h"

namespace z5r {

// Read-back tolerances: a level, a dwell time.
inline constexpr double kLevelReadBackTolerance = 0.01;  // dB
inline constexpr double kDwellReadBackTolerance = 1e-9;  // s

// The fixed frequency sent: `fix` inside the instrument's range, else the
// middle of the range (a profile made for a wider instrument).
double FixedFrequencyToSend(double fix, const SInstrumentLimits& limits);

// The sweep mode sent for an operating mode: the logarithmic frequency sweep
// runs as a list (4).
int SweepModeToSend(int mode, int sweepType);

// The phase sent: truncated toward zero to whole degrees.
std::int32_t PhaseToSend(double degrees);

bool LevelReadBackDiffers(double requested, double readBack);
bool DwellReadBackDiffers(double requested, double readBack);

// The external reference frequency of a RGFreqCB item: its text up to the
// first blank read as a number of megahertz ("10 МГц" -> 10000000 Hz); no
// item or no number gives 0.
double ExtRefFrequencyHz(std::string_view itemText);

// What applying an operating mode sends, in order.
enum class EModeSend {
    FrequencyFixed,
    FrequencyRange,
    PowerFixed,
    PowerRange,
    BothSweeps,        // the combined sweep (PowPoints disabled first)
    ListFromSegments,  // the list transfer from the list panel
};
std::vector<EModeSend> ModeSends(int mode);

}  // namespace z5r

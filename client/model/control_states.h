// Which setting controls of the main window are enabled, as a function of
// the connection, the lock and the settings (SetControlsState and the
// handlers that enable single controls).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/profile.h"

namespace z5r {

// The controls by their names in the main window. A control's label follows
// the control.
enum class EControl : int {
    ModeCB,
    TriggerModeCB,
    RunModeCB,
    DwellEdit,
    edtStart,
    edtStop,
    edtSpan,
    edtPoints,
    FreqFullRangeB,
    LinLogRG,
    edtCenter,
    PowStart,
    PowStop,
    PowSpan,
    PowFullRangeB,
    PowPoints,
    PowCenter,
    PowLimit,
    AllowLimitPowerCB,
    SyncOutModeCB,
    SyncOutCB,
    SyncTimeEdit,
    SyncInCB,
    ERGCB,
    PMModeCB,
    EPCCB,
    AttStrategyCB,
    RGFreqCB,
    HandModeStepAction,
    SweepPB,
    SingleModGroupBox,  // periodic pulse controls
    PacketModGroupBox,  // packet pulse controls
    ListLV,
    NewListAction,
    OpenListAction,
    OpenListAndAddAction,
    AddLineAction,
    SaveListAction,
    F0Label,  // fixed-value readouts
    P0Label,
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(EControl::P0Label) + 1;

// The control name ("ModeCB" …).
const char* ControlName(EControl control);
std::optional<EControl> ControlByName(std::string_view name);

// The state the table depends on.
struct SControlInputs {
    bool connected = false;
    bool settingsLocked = true;
    int mode = 0;       // EOperatingMode
    int trigger = 0;    // ETriggerMode
    int runmode = 0;    // ERunMode
    int syncmode = 0;   // ESyncOutMode
    int pulsemode = 0;  // EPulseMode (PMModeCB)
    bool attStrategyOk = false;
    bool ceilingChecked = false;  // AllowLimitPowerCB
    bool extRefChecked = false;   // ERGCB
    std::size_t segmentCount = 0;
};

// The inputs for the current record: while locked the check boxes show
// clear.
SControlInputs ControlInputsFor(const SProfile& profile, bool connected, bool settingsLocked,
                                bool attStrategyOk, std::size_t segmentCount);

class CControlStates {
public:
    bool Enabled(EControl control) const { return enabled_[static_cast<std::size_t>(control)]; }
    void Set(EControl control, bool enabled) {
        enabled_[static_cast<std::size_t>(control)] = enabled;
    }
    friend bool operator==(const CControlStates&, const CControlStates&) = default;

private:
    std::array<bool, kControlCount> enabled_{};
};

// controlsOff: nothing connected or settings locked.
bool ControlsOff(const SControlInputs& in);
// Frequency (power) range edits on.
bool FrequencyRangeOn(const SControlInputs& in);
bool PowerRangeOn(const SControlInputs& in);

// The enabled state of every control. SyncTimeEdit also follows the sync
// output mode (disabled for "relay the sync input").
CControlStates EnabledControls(const SControlInputs& in);

}  // namespace z5r

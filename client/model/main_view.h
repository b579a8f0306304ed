// What the main window's controller asks of the window. The window shows what
// it is told; the controller never asks it what a control holds.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/control_ranges.h"
#include "model/control_states.h"
#include "model/control_values.h"
#include "model/edit_table.h"
#include "model/parameter_summary.h"
#include "model/state_images.h"

namespace z5r {

// The instrument as the status bar names it.
struct SInstrumentIdentity {
    std::string address;
    std::string serial;
    std::string name;
};

enum class EIndicator { Capture, Level, Power };

// The readouts of the fixed values and of the sweep's ends.
enum class EReadout { F0, F1, F2, P0, P1, P2 };

// The selectors and the check boxes of the setting controls.
enum class ESelector { Mode, Trigger, RunMode, SweepType, SyncOutMode, RgFreq, AttStrategy, PulseMode };
enum class ECheck { SyncIn, SyncOut, Epc, ExtRef };

// The step of an edit's arrows and wheel.
struct SEditStep {
    double increment = 0.0;
    bool decimal = false;
    std::optional<int> power;  // the step's decimal exponent; kept when empty
};
struct SEditSteps {
    std::array<SEditStep, kEditCount> edits{};
    SEditStep ceiling;  // PowLimit
};

class IMainView {
public:
    virtual ~IMainView() = default;

    // ---- status bar, actions and the connection dialog --------------------
    virtual void ShowConnected(const SInstrumentIdentity& instrument) = 0;
    virtual void ShowDisconnected() = 0;
    virtual void ShowRfButton(bool pressed) = 0;
    // The driver's text of the last error the instrument reported ("" clears it).
    virtual void ShowInstrumentError(const std::string& text) = 0;
    virtual void ShowIndicator(EIndicator indicator, bool active) = 0;
    // The RF action: checked, and its image saying whether the output radiates.
    virtual void ShowRfOutput(bool enabled) = 0;
    virtual void ShowRfRadiating(bool radiating) = 0;
    // The state images of the operating mode and the trigger.
    virtual void ShowStateImages(const SStateImages& /*images*/) {}
    virtual void ShowExtRef(bool checked, bool rgFreqEnabled) = 0;
    virtual void ShowPulsePanel(bool shown) = 0;
    virtual void ShowSweepProgress(int position) = 0;
    virtual void ShowSweepProgressMaximum(int points) = 0;
    virtual void ShowFixedReadouts(double frequency, double level) = 0;
    virtual void ShowReadout(EReadout readout, double value) = 0;
    virtual void ShowEditRanges(const EditRanges& ranges, const SControlRange& ceiling) = 0;

    // ---- the setting controls ----------------------------------------------
    // The phase offset has no row of its own in the table.
    virtual void ShowEnabledStates(const CControlStates& states, bool phaseDelayEnabled) = 0;
    virtual void ShowControlEnabled(EControl control, bool enabled) = 0;
    virtual void ShowSuperuserMenu(bool enabled) = 0;
    // Without running any control's handler.
    virtual void ShowControlValues(const SDisplayedControls& shown) = 0;
    // An edit of the table shows `value`; what it holds goes nowhere back.
    virtual void ShowEditValue(int edit, double value) = 0;
    virtual void ShowEditChanged(int edit, bool changed) = 0;
    // The edit's entry to return to is what it holds now.
    virtual void RememberEditValue(int edit) = 0;
    virtual void ShowPowerCeiling(bool on, double limit) = 0;
    virtual void ShowEditSteps(const SEditSteps& steps) = 0;
    // Without running the control's handler; an index it does not have shows nothing.
    virtual void ShowSelection(ESelector selector, int index) = 0;
    virtual void ShowChecked(ECheck box, bool checked) = 0;

    // ---- the status poll's timer -------------------------------------------
    virtual void StartPoll() = 0;
    virtual void StopPoll() = 0;

    // ---- the parameter summary ------------------------------------------------
    virtual void ShowSummaryLine(ESummaryLine line, const std::string& value) = 0;

    // The operator chose to end the program.
    virtual void RequestTerminate() = 0;
};

}  // namespace z5r

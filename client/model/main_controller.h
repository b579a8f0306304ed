// The main window's controller: it owns the current record, the window's
// flags, the driver session and the manual stepping, and runs the
// connection, the disconnection, the status poll with its error check and
// the reconnection, the RF output and the sweep-list transfer. It reaches
// the window through IMainView and the person through IPrompt.
//
// One event at a time: every event runs inside the guard's scope. A poll tick
// that arrives while another event (an instrument operation, a message box)
// is in progress is run once that event ends, and a session given up during
// an event is destroyed only when it ends, never under one of its own
// operations.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/profile.h"
#include "model/main_state.h"
#include "model/control_states.h"
#include "model/control_values.h"
#include "model/event_guard.h"
#include "model/hand_step.h"
#include "model/list_panel.h"
#include "model/list_panel_host.h"
#include "model/edit_validation.h"
#include "model/main_view.h"
#include "model/parameter_coupling.h"
#include "model/parameter_summary.h"
#include "model/profile_panel.h"
#include "model/profile_panel_host.h"
#include "model/pulse_panel.h"
#include "model/superuser.h"
#include "model/segment_expansion.h"

namespace z5r {

class CDevice;

// How the program writes a value into an edit of the table.
enum class ECoupling { Quiet, Run };           // Run: the coupling runs as if the operator typed it
enum class EDisabledEdit { Keep, Overwrite };  // Keep: a disabled edit keeps what it shows
struct SEditWriteMode {
    ECoupling coupling = ECoupling::Quiet;
    EDisabledEdit disabled = EDisabledEdit::Keep;
    int source = kNoEdit;  // the edit being typed in keeps its text
};
inline ECoupling CouplingOf(const SEditWrite& write) { return write.quiet ? ECoupling::Quiet : ECoupling::Run; }

struct SControllerOptions {
    // The port "TCPIP::<address>::<port>::SOCKET" uses, asked at each connection.
    std::function<int()> instrumentPort;
};

class CMainController {
public:
    CMainController(IMainView& view, IPrompt& prompt, SControllerOptions options);
    ~CMainController();
    CMainController(const CMainController&) = delete;
    CMainController& operator=(const CMainController&) = delete;

    SMainState& State() { return state_; }
    const SMainState& State() const { return state_; }
    SProfile& Profile() { return profile_; }
    const SProfile& Profile() const { return profile_; }
    // The session while one exists (connected or not); nullptr otherwise.
    CDevice* Device() { return device_.get(); }
    bool Connected() const;
    // The person's prompt, each box counting as an event.
    IPrompt& Prompt() { return prompt_; }
    CParameterCoupling& Coupling() { return coupling_; }
    bool NextPointMode() const { return nextPointMode_; }
    void SetNextPointMode(bool on) { nextPointMode_ = on; }

    // Runs an event of the window under the one-event-at-a-time rule.
    template <typename Handler>
    void Run(Handler&& handler) {
        CEventGuard::CScope scope(guard_);
        handler();
    }

    // ---- connection ---------------------------------------------------------
    // The connection procedure: an empty text on success, else the reason.
    std::string OpenConnection(const std::string& address);
    void DisconnectActionExecute();
    // The instrument's limits into the coupling and the edits' ranges.
    void PushInstrumentLimits();

    // ---- the setting controls --------------------------------------------------
    // The inputs of the enabled-controls table for the record.
    SControlInputs ControlInputs(bool connected) const;
    // Every setting control enabled or not and showing the record.
    void SetControlsState(bool connected);
    // Only the enabled states, after a selector changed what is usable.
    void RefreshPanels();
    // Puts the current record into the controls and, through their handlers,
    // into the instrument (also after a connection).
    void ApplyCurrentSettings();

    // ---- the numeric edits ----------------------------------------------------
    // What each edit of the table holds, its limits, enabled and changed state,
    // as the controller showed it or the operator typed it.
    const EditStates& Edits() const { return edits_; }
    // The operator changed the text of an edit or stepped it to `value`.
    void EditChanged(int index, double value);
    // The operator confirmed the entry of an edit (kNoEdit: none).
    void EditConfirmed(int index);
    // The operator typed the power ceiling.
    void PowLimitChanged(double value) { shown_.powLimit = value; }
    // The one way the program changes an edit of the table.
    void SetEditValue(int index, double value, SEditWriteMode mode = {});
    // Sets or clears the changed mark of all seventeen edits.
    // What the pulse edits hold, as the operator typed or the program wrote them.
    SPulseEdits PulseEditsShown() const;
    void MarkAll(bool changed);
    // Tells the window an edit's changed mark, unless marks are held.
    void ShowMark(int index);
    // While one lives, changed marks stay in edits_ and reach the window
    // once, at the end, for the edits whose mark differs by then: applying a
    // record marks every edit and its sends clear them again, and restyling
    // an edit twice for nothing is not free.
    class CMarksHeld {
    public:
        explicit CMarksHeld(CMainController& owner);
        ~CMarksHeld();
        CMarksHeld(const CMarksHeld&) = delete;
        CMarksHeld& operator=(const CMarksHeld&) = delete;

    private:
        CMainController& owner_;
        std::array<bool, kEditCount> shown_{};
    };
    void FreqFullRangeBClick();
    void PowFullRangeBClick();
    void AllowLimitPowerCBClick(bool checked);
    // The ceiling's check box and edit show these.
    void ShowPowerCeiling(bool on, double limit);

    // ---- operating mode, trigger, run moment, sweep type ---------------------
    // Each with what the operator chose.
    void ModeCBChange(int chosen);
    void TriggerModeCBChange(int chosen);
    void RunModeCBChange(int chosen);
    void LinLogRGClick(int chosen);

    // ---- the status poll ------------------------------------------------------
    void Timer1Timer();

    // ---- synchronisation, external power control, attenuator, reference ---
    // Each with what the operator chose (the item, or the check box as clicked).
    void SyncOutModeCBChange(int chosen);
    void SyncOutCBClick(bool checked);
    void SyncInCBClick(bool checked);
    void EPCCBClick(bool checked);
    void AttStrategyCBChange(int chosen);
    void RGFreqCBChange(int chosen);
    // With the reference frequency the operator chose last.
    void ERGCBClick(bool checked);

    // ---- RF output, manual stepping, the sweep list -------------------------
    void EnableRFActionExecute();
    void SwitchRfOff();
    void HandModeStepActionExecute() { Run([this] { HandStep(true); }); }
    void HandStep(bool byOperator);
    void ResetHandStep();
    void BuildManualPoints();
    void RebuildManualSteps();
    void TransferSweepList(bool fromSegments);

    // ---- the parameter summary --------------------------------------------------
    // The lines' values from the record and the controls as the controller
    // shows them; a line reaches the window only when its text changed.
    void RefreshSummary();
    void RefreshSummaryLine(ESummaryLine line);
    // The operator picked the unit an edit of the table is shown in (the
    // decimal exponent of its prefix).
    void EditUnitPicked(int index, int power);

    // ---- the list panel -----------------------------------------------------
    CListPanel& ListPanel() { return listPanel_; }
    const CListPanel& ListPanel() const { return listPanel_; }
    // ---- pulse modulation -----------------------------------------------------
    CPulsePanel& Pulses() { return pulsePanel_; }
    const CPulsePanel& Pulses() const { return pulsePanel_; }
    // ---- the profile list ---------------------------------------------------
    CProfilePanel& Profiles() { return profilePanel_; }
    int AttStrategyShown() const { return shown_.attStrategy; }
    // ---- superuser mode ------------------------------------------------------
    CSuperuser& Superuser() { return superuser_; }

private:
    // Sending the settings, reading back what the instrument accepted.
    void SendFrequency(bool range);
    void SendPower(bool range);
    void SendBothSweeps();
    void SendModeRanges();
    void SendDwell();
    void SendSyncTime();
    void SendPhase();
    void RunSend(EDispatch dispatch);
    void RunCoupling(int source);
    void RunPointsCoupling(int pointsEdit);
    void RememberAcceptedValues(int confirmedEdit);
    // An enabled state shown, kept for the edits of the table.
    void ShowControlEnabled(EControl control, bool enabled);
    void ShowEnabledStates(const CControlStates& states, bool phaseDelayEnabled);
    void ShowSelection(ESelector selector, int index);
    void ShowChecked(ECheck box, bool checked);
    void ShowExtRef(bool checked, bool rgFreqEnabled);
    SSummaryState SummaryState() const;
    // A check box's flag: stored unless locked, sent, the read-back kept.
    using FlagSender = std::int32_t (CDevice::*)(bool&);
    void SendFlag(bool checked, bool& field, FlagSender send, ESummaryLine summaryLine);
    void RefreshPanels(const SControlInputs& in);
    void Tick();
    // Reads the driver's error queue and acts on it: false when the rest of
    // the tick is to be skipped.
    bool CheckErrors();
    void LoseExternalReference();
    // After a lost link: true when a reconnection succeeded.
    bool OfferReconnect();
    void Disconnect();
    // The session is destroyed when the current event ends.
    void ReleaseDevice();
    void StopPoll();
    void WhenIdle();
    // The connected window again after a login or logout, so the settings
    // appear or disappear.
    void ShowLockChange();

    IMainView& view_;
    CEventGuard guard_;
    CGuardedPrompt prompt_;
    SControllerOptions options_;
    SMainState state_;
    SProfile profile_;
    std::unique_ptr<CDevice> device_;
    std::vector<std::unique_ptr<CDevice>> released_;
    bool polling_ = false;
    bool tickDeferred_ = false;
    // The coupling's memory and manual stepping through the points of the
    // current sweep (listFreqs/listPows).
    CParameterCoupling coupling_;
    CHandStepper handStepper_;
    SPointLists listPoints_;
    bool nextPointMode_ = false;
    // The list panel's segments are the working sweep list.
    CControllerListHost listHost_{*this};
    CListPanel listPanel_{listHost_, prompt_};
    CPulsePanel pulsePanel_{*this, view_};
    CControllerProfileHost profileHost_{*this};
    CProfilePanel profilePanel_{profileHost_, prompt_};
    CSuperuser superuser_{state_, prompt_, [this] { ShowLockChange(); }};
    EditStates edits_;
    int marksHeld_ = 0;
    // What the selectors, check boxes and the ceiling show, as last shown or chosen.
    SDisplayedControls shown_;
    // The enabled states shown, and the units the operator picked.
    CControlStates enabled_;
    std::array<std::optional<int>, kEditCount> editPowers_{};
    // The summary's texts as the window shows them; empty before the first.
    std::array<std::optional<std::string>, kSummaryLineCount> summaryShown_{};
};

}  // namespace z5r

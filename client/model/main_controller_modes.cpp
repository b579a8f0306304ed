// The controller's operating mode, trigger, run moment and sweep type
// handlers, each with what the operator chose.
#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "model/hand_step.h"
#include "model/main_controller.h"
#include "model/parameter_summary.h"
#include "model/send_rules.h"

namespace z5r {

void CMainController::ModeCBChange(int chosen) {
    profilePanel_.ForgetApplied();
    SwitchRfOff();
    SControlParams& c = profile_.controlparams;
    shown_.mode = chosen;
    if (!state_.settingsLocked) c.mode = chosen;
    if (Connected()) device_->SetSweepMode(SweepModeToSend(c.mode, profile_.freqparams.mode));
    RefreshPanels();
    RunModeCBChange(c.runmode);
    pulsePanel_.OperatingModeChanged();
    SendModeRanges();
    for (const ESummaryLine line : {slPoints, slRunMoment, slDwell, slAttStrategy, slSyncOut})
        RefreshSummaryLine(line);
}

void CMainController::RunModeCBChange(int chosen) {
    profilePanel_.ForgetApplied();
    const bool locked = state_.settingsLocked;
    SControlParams& c = profile_.controlparams;
    shown_.runmode = chosen;
    if (!locked) c.runmode = chosen;
    nextPointMode_ = z5r::NextPointMode(profile_, locked);
    TriggerModeCBChange(c.trigger);
    if (Connected()) {
        int flag = locked ? 0 : c.runmode;
        device_->SetSinglePoint(flag);
        if (!locked) c.runmode = flag;
    }
    // The selector follows what the instrument took.
    if (!locked && shown_.runmode != c.runmode) ShowSelection(ESelector::RunMode, c.runmode);
    RefreshSummaryLine(slRunMoment);
}

void CMainController::TriggerModeCBChange(int chosen) {
    profilePanel_.ForgetApplied();
    const bool locked = state_.settingsLocked;
    SControlParams& c = profile_.controlparams;
    RememberAcceptedValues(kNoEdit);
    SwitchRfOff();
    shown_.trigger = chosen;
    if (!locked) c.trigger = chosen;
    if (Connected()) {
        int flag = locked ? 0 : c.runmode;
        device_->SetSinglePoint(flag);
        device_->SetTriggerSource(locked ? 0 : c.trigger);
    }
    RefreshPanels();
    ShowControlEnabled(EControl::HandModeStepAction, !locked && Connected() && c.trigger == tmManual);
    ResetHandStep();
    if (c.trigger == tmManual && nextPointMode_ && ManualSteppingActive(profile_, locked)) {
        // The instrument stays at one point; the client moves it.
        BuildManualPoints();
        if (Connected()) device_->SetSweepMode(omFixed);
        HandStep(false);
        ShowControlEnabled(EControl::SweepPB, true);
    } else if (c.mode != omFixed && !locked) {
        if (Connected()) device_->SetSweepMode(SweepModeToSend(c.mode, profile_.freqparams.mode));
        SendModeRanges();
        ShowControlEnabled(EControl::SweepPB, false);
    }
    MarkAll(false);
}

void CMainController::LinLogRGClick(int chosen) {
    profilePanel_.ForgetApplied();
    if (state_.settingsLocked) return;
    SControlParams& c = profile_.controlparams;
    shown_.sweepType = chosen;
    profile_.freqparams.mode = chosen;
    const bool logarithmic = profile_.freqparams.mode == stLog;
    if (Connected() && !(c.trigger == tmManual && nextPointMode_))
        device_->SetSweepMode(logarithmic ? SweepModeToSend(omFrequencySweep, stLog) : c.mode);
    SendFrequency(true);
    if (!logarithmic) SendPower(c.mode != omFrequencySweep);
    RefreshSummaryLine(slFrequencyStep);
}

}  // namespace z5r

// The controller applying the whole record: the edits' steps and values, the
// selectors and check boxes, each followed by its handler so that the
// instrument ends up holding the record.
#include <limits>

#include "core/profile_enums.h"
#include "model/main_controller.h"
#include "model/profile_capture.h"

namespace z5r {

namespace {

constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();

}  // namespace

void CMainController::ShowSelection(ESelector selector, int index) {
    switch (selector) {
        case ESelector::Mode: shown_.mode = index; break;
        case ESelector::Trigger: shown_.trigger = index; break;
        case ESelector::RunMode: shown_.runmode = index; break;
        case ESelector::SweepType: shown_.sweepType = index; break;
        case ESelector::SyncOutMode: shown_.syncmode = index; break;
        case ESelector::RgFreq: shown_.rgfreq = index; break;
        case ESelector::AttStrategy: shown_.attStrategy = index; break;
        case ESelector::PulseMode: shown_.pulsemode = index; break;
    }
    view_.ShowSelection(selector, index);
}

void CMainController::ShowChecked(ECheck box, bool checked) {
    switch (box) {
        case ECheck::SyncIn: shown_.syncIn = checked; break;
        case ECheck::SyncOut: shown_.syncOut = checked; break;
        case ECheck::Epc: shown_.epc = checked; break;
        case ECheck::ExtRef: shown_.extRef = checked; break;
    }
    view_.ShowChecked(box, checked);
}

void CMainController::ApplyCurrentSettings() {
    const CMarksHeld marksHeld(*this);
    // A copy: the edits write into the record while it is applied.
    const SProfile p = profile_;
    const bool locked = state_.settingsLocked;
    // Values reach a locked window's edits only where the edit is usable; a
    // locked window shows no numbers.
    const EDisabledEdit disabled = locked ? EDisabledEdit::Keep : EDisabledEdit::Overwrite;
    const SFreqParams& f = p.freqparams;
    const SPowParams& w = p.powparams;
    const SPulseModParams& m = p.pulsemodparams;

    // The profile's packet and sweep list are the working ones before any
    // handler sends them.
    pulsePanel_.SetPacket(p.packet);
    listPanel_.ReplaceSegments(p.listelements);
    view_.ShowEditSteps(EditStepsOf(p));
    ShowPowerCeiling(!locked && w.allowlimit, locked ? kBlank : w.limit);
    ShowSelection(ESelector::SweepType, f.mode);

    // The coupling of the stop and the points recomputes centre and span,
    // which would overwrite the fixed frequency; it is kept for the modes
    // that use it.
    SetEditValue(eiStart, f.start, {ECoupling::Quiet, disabled});
    SetEditValue(eiStop, f.stop, {ECoupling::Run, disabled});
    SetEditValue(eiPoints, f.points, {ECoupling::Run, disabled});
    const SControlInputs in = ControlInputs(Connected());
    if (!FrequencyRangeOn(in)) SetEditValue(eiCenter, f.fix, {ECoupling::Quiet, disabled});

    ShowSelection(ESelector::AttStrategy, w.strategy);

    SetEditValue(eiPowStart, w.start, {ECoupling::Quiet, disabled});
    SetEditValue(eiPowStop, w.stop, {ECoupling::Run, disabled});
    SetEditValue(eiPowPoints, w.points, {ECoupling::Run, disabled});
    if (!PowerRangeOn(in)) SetEditValue(eiPowCenter, w.fix, {ECoupling::Quiet, disabled});

    ShowSelection(ESelector::RgFreq, locked ? -1 : p.syncparams.rgfreq);

    // The handlers send the record's flags; unlocked, the boxes show them first.
    if (!locked) {
        ShowChecked(ECheck::SyncIn, p.syncparams.syncin);
        ShowChecked(ECheck::SyncOut, p.syncparams.syncout);
        ShowChecked(ECheck::Epc, p.syncparams.epc);
        ShowChecked(ECheck::ExtRef, p.syncparams.erg);
    }
    SyncInCBClick(shown_.syncIn);
    SyncOutCBClick(shown_.syncOut);
    EPCCBClick(shown_.epc);
    ERGCBClick(shown_.extRef);

    // The sync duration and the phase go the same way, so that the
    // confirmations below send the record's values, not what the edits held.
    SetEditValue(eiTau, m.tau, {ECoupling::Quiet, disabled});
    SetEditValue(eiPeriodSingle, m.periodsingle, {ECoupling::Quiet, disabled});
    SetEditValue(eiQ, m.q, {ECoupling::Run, disabled});
    SetEditValue(eiPeriodPacket, m.periodpacket, {ECoupling::Run, disabled});
    SetEditValue(eiDwell, p.controlparams.dwell, {ECoupling::Run, disabled});
    SetEditValue(eiSyncTime, p.syncparams.synctime, {ECoupling::Quiet, disabled});
    SetEditValue(eiPhase, p.syncparams.phase, {ECoupling::Quiet, disabled});

    // Sent directly: the confirmation an operator's entry goes through would
    // refuse while any other edit of the record lies outside the instrument's
    // range, and the setting would never reach the instrument.
    SendDwell();
    AttStrategyCBChange(shown_.attStrategy);

    // Locked, the selectors show their first item.
    ShowSelection(ESelector::Mode, locked ? 0 : p.controlparams.mode);
    ShowSelection(ESelector::Trigger, locked ? 0 : p.controlparams.trigger);
    ShowSelection(ESelector::RunMode, locked ? 0 : p.controlparams.runmode);
    ModeCBChange(shown_.mode);
    ShowSelection(ESelector::SyncOutMode, locked ? 0 : p.syncparams.syncmode);
    SyncOutModeCBChange(shown_.syncmode);
    SendSyncTime();
    SendPhase();
    MarkAll(false);

    ShowSelection(ESelector::PulseMode, locked ? pmNone : m.pulsemode);
    pulsePanel_.PMModeCBChange(shown_.pulsemode);

    RefreshSummary();
}

}  // namespace z5r

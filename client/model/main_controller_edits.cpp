// The controller's numeric edits: what the operator types (the coupling of the
// frequency and power groups), the confirmation of an entry and the send it
// leads to, the sends with the instrument's read-back, the full-range buttons
// and the power ceiling.
#include <cmath>
#include <limits>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "model/full_range.h"
#include "model/main_controller.h"
#include "model/parameter_summary.h"
#include "model/power_ceiling.h"
#include "model/send_rules.h"
#include "model/sweep_points.h"

namespace z5r {

namespace {

// The number of intervals of a sweep of `points` points (at least 1 point).
int Intervals(double points) {
    if (!(points >= 1.0)) return 0;
    constexpr double most = std::numeric_limits<int>::max();
    return static_cast<int>(std::fmin(std::trunc(points), most)) - 1;
}

// The control whose enabled state an edit of the table follows; the phase
// offset has none of its own.
std::optional<EControl> ControlOfEdit(int edit) {
    switch (edit) {
        case eiStart: return EControl::edtStart;
        case eiStop: return EControl::edtStop;
        case eiCenter: return EControl::edtCenter;
        case eiSpan: return EControl::edtSpan;
        case eiPoints: return EControl::edtPoints;
        case eiPowStart: return EControl::PowStart;
        case eiPowStop: return EControl::PowStop;
        case eiPowCenter: return EControl::PowCenter;
        case eiPowSpan: return EControl::PowSpan;
        case eiPowPoints: return EControl::PowPoints;
        case eiDwell: return EControl::DwellEdit;
        case eiSyncTime: return EControl::SyncTimeEdit;
        case eiTau:
        case eiPeriodSingle:
        case eiQ: return EControl::SingleModGroupBox;
        case eiPeriodPacket: return EControl::PacketModGroupBox;
        default: return std::nullopt;
    }
}

EditValues ValuesOf(const EditStates& edits) {
    EditValues values{};
    for (int i = 0; i < kEditCount; ++i) values[static_cast<std::size_t>(i)] = edits[static_cast<std::size_t>(i)].value;
    return values;
}

}  // namespace

// ---------------------------------------------------------- enabled states

void CMainController::ShowControlEnabled(EControl control, bool enabled) {
    for (int i = 0; i < kEditCount; ++i) {
        if (ControlOfEdit(i) == control) edits_[static_cast<std::size_t>(i)].enabled = enabled;
    }
    enabled_.Set(control, enabled);
    view_.ShowControlEnabled(control, enabled);
}

void CMainController::ShowEnabledStates(const CControlStates& states, bool phaseDelayEnabled) {
    for (int i = 0; i < kEditCount; ++i) {
        const std::optional<EControl> control = ControlOfEdit(i);
        edits_[static_cast<std::size_t>(i)].enabled = control ? states.Enabled(*control) : phaseDelayEnabled;
    }
    enabled_ = states;
    view_.ShowEnabledStates(states, phaseDelayEnabled);
}

// ---------------------------------------------------------- the edits

void CMainController::SetEditValue(int index, double value, SEditWriteMode mode) {
    if (!IsTableEdit(index)) return;
    if (!state_.uiRefresh) {
        if (double* field = RecordField(profile_, index)) *field = value;
    }
    SEditState& edit = edits_[static_cast<std::size_t>(index)];
    // The source keeps the text being typed; a disabled edit keeps what it shows.
    if (index == mode.source || (!edit.enabled && mode.disabled == EDisabledEdit::Keep)) return;
    const bool wasChanged = edit.changed;
    edit.changed = true;
    if (!wasChanged) ShowMark(index);
    edit.value = value;
    view_.ShowEditValue(index, value);
    if (mode.coupling == ECoupling::Run) RunCoupling(index);
}

void CMainController::EditChanged(int index, double value) {
    if (!IsTableEdit(index)) return;
    SEditState& edit = edits_[static_cast<std::size_t>(index)];
    edit.value = value;
    const bool wasChanged = edit.changed;
    edit.changed = true;
    if (!wasChanged) ShowMark(index);
    // The pulse edits follow the pulse panel's rules.
    if (IsPulseEdit(index)) {
        pulsePanel_.PulseEditChange(index, PulseEditsShown());
    } else {
        RunCoupling(index);
    }
}

SPulseEdits CMainController::PulseEditsShown() const {
    const auto value = [this](int edit) { return edits_[static_cast<std::size_t>(edit)].value; };
    return {value(eiTau), value(eiPeriodSingle), value(eiQ), value(eiPeriodPacket)};
}

void CMainController::RunCoupling(int source) {
    // The window filling its controls from the record must not rewrite it.
    if (!state_.formShown || state_.settingsLocked || state_.uiRefresh) return;
    for (const SEditWrite& write : coupling_.OnEditChange(source, ValuesOf(edits_)))
        SetEditValue(write.edit, write.value, {CouplingOf(write), EDisabledEdit::Keep, source});
}

void CMainController::RunPointsCoupling(int pointsEdit) {
    if (!state_.formShown || state_.settingsLocked) return;
    for (const SEditWrite& write : coupling_.OnEditChange(pointsEdit, ValuesOf(edits_)))
        SetEditValue(write.edit, write.value, {CouplingOf(write), EDisabledEdit::Keep, pointsEdit});
}

void CMainController::MarkAll(bool changed) {
    // Every send clears the marks: only the edits whose mark changes are told,
    // restyling an edit is not free.
    for (int i = 0; i < kEditCount; ++i) {
        bool& mark = edits_[static_cast<std::size_t>(i)].changed;
        if (mark == changed) continue;
        mark = changed;
        ShowMark(i);
    }
}

void CMainController::ShowMark(int index) {
    if (marksHeld_ == 0) view_.ShowEditChanged(index, edits_[static_cast<std::size_t>(index)].changed);
}

CMainController::CMarksHeld::CMarksHeld(CMainController& owner) : owner_(owner) {
    for (std::size_t i = 0; i < shown_.size(); ++i) shown_[i] = owner_.edits_[i].changed;
    ++owner_.marksHeld_;
}

CMainController::CMarksHeld::~CMarksHeld() {
    if (--owner_.marksHeld_ != 0) return;
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (owner_.edits_[i].changed != shown_[i]) owner_.ShowMark(static_cast<int>(i));
    }
}

void CMainController::EditConfirmed(int index) {
    const SValidation validation = Validate(index, edits_, profile_.controlparams.mode, profile_.freqparams.mode);
    // An entry out of range keeps every mark until it is corrected.
    if (validation.blocked) return;
    MarkAll(false);
    profilePanel_.ForgetApplied();
    if (validation.dispatch == EDispatch::PulseParameters) pulsePanel_.PulseEditConfirmed(index, PulseEditsShown());
    RunSend(validation.dispatch);
    if (validation.rememberAccepted) RememberAcceptedValues(index);
}

void CMainController::RunSend(EDispatch dispatch) {
    switch (dispatch) {
        case EDispatch::FrequencyAndPowerSweep: SendBothSweeps(); break;
        case EDispatch::FrequencyFixed: SendFrequency(false); break;
        case EDispatch::FrequencyRange: SendFrequency(true); break;
        case EDispatch::PowerFixed: SendPower(false); break;
        case EDispatch::PowerRange: SendPower(true); break;
        case EDispatch::Dwell: SendDwell(); break;
        case EDispatch::SyncTime: SendSyncTime(); break;
        case EDispatch::Phase: SendPhase(); break;
        // The pulse panel confirms its edits itself.
        case EDispatch::PulseParameters: break;
        case EDispatch::ProfileMarkOnly: break;
    }
}

void CMainController::RememberAcceptedValues(int confirmedEdit) {
    if (!state_.formShown) return;
    EditFlags enabled{};
    for (int i = 0; i < kEditCount; ++i) enabled[static_cast<std::size_t>(i)] = edits_[static_cast<std::size_t>(i)].enabled;
    // Confirming a single point must not make the collapsed stop the one a
    // later point count restores: the stop before the collapse is kept.
    const SCouplingMemory before = coupling_.Memory();
    for (int edit : coupling_.RememberAccepted(confirmedEdit, ValuesOf(edits_), enabled)) view_.RememberEditValue(edit);
    if (before.collapsed) coupling_.Memory().savedStop = before.savedStop;
}

// ---------------------------------------------------------- the sends

void CMainController::SendFrequency(bool range) {
    const bool locked = state_.settingsLocked;
    SFreqParams& f = profile_.freqparams;
    if (!range) {
        if (!locked) f.fix = edits_[eiCenter].value;
        if (Connected()) {
            double value = FixedFrequencyToSend(f.fix, state_.limits);
            double unused = 0.0;
            device_->SetFreq(value, unused, 1);
            if (value != f.fix) SetEditValue(eiCenter, value);
        }
        if (!locked) view_.ShowReadout(EReadout::F0, f.fix);
    } else {
        if (!locked) {
            f.start = edits_[eiStart].value;
            f.stop = edits_[eiStop].value;
            f.points = edits_[eiPoints].value;
        }
        if (IsClientBuiltSweep(profile_)) {
            if (LimitClientListPoints(f)) SetEditValue(eiPoints, f.points);
            TransferSweepList(false);
        } else if (Connected()) {
            double start = f.start;
            double stop = f.stop;
            device_->SetFreq(start, stop, Intervals(f.points));
            if (start != f.start) SetEditValue(eiStart, start);
            if (stop != f.stop) SetEditValue(eiStop, stop);
            RunPointsCoupling(eiPoints);
        }
        if (!locked) {
            view_.ShowReadout(EReadout::F1, f.start);
            view_.ShowReadout(EReadout::F2, f.stop);
        }
    }
    if (profile_.controlparams.mode != omFixed && profile_.controlparams.trigger == tmManual && !locked)
        RebuildManualSteps();
    MarkAll(false);
    RefreshSummaryLine(slPoints);
    RefreshSummaryLine(slFrequencyStep);
}

void CMainController::SendPower(bool range) {
    const bool locked = state_.settingsLocked;
    SPowParams& p = profile_.powparams;
    if (!range) {
        if (!locked) p.fix = edits_[eiPowCenter].value;
        if (Connected()) {
            double level = LimitPower(p, p.fix);
            double stop = level;
            device_->SetPow(level, stop, 1);
            if (LevelReadBackDiffers(p.fix, level)) SetEditValue(eiPowCenter, level);
        }
        if (!locked) view_.ShowReadout(EReadout::P0, p.fix);
    } else if (IsClientBuiltSweep(profile_)) {
        if (LimitClientListPoints(profile_.freqparams)) SetEditValue(eiPoints, profile_.freqparams.points);
        TransferSweepList(false);
    } else {
        if (!locked) {
            p.start = edits_[eiPowStart].value;
            p.stop = edits_[eiPowStop].value;
            p.points = edits_[eiPowPoints].value;
        }
        if (Connected()) {
            double start = LimitPower(p, p.start);
            double stop = LimitPower(p, p.stop);
            device_->SetPow(start, stop, Intervals(p.points));
            if (LevelReadBackDiffers(p.start, start)) SetEditValue(eiPowStart, start);
            // With the coupling, so centre and span follow the new stop.
            if (LevelReadBackDiffers(p.stop, stop)) SetEditValue(eiPowStop, stop, {ECoupling::Run});
            RunPointsCoupling(eiPowPoints);
        }
        if (!locked) {
            view_.ShowReadout(EReadout::P1, p.start);
            view_.ShowReadout(EReadout::P2, p.stop);
        }
    }
    // The logarithmic sweep runs at the level of the centre edit.
    if (range && !locked && profile_.controlparams.mode == omFrequencySweep && profile_.freqparams.mode == stLog)
        view_.ShowReadout(EReadout::P0, edits_[eiPowCenter].value);
    if (profile_.controlparams.mode != omFixed && profile_.controlparams.trigger == tmManual && !locked)
        RebuildManualSteps();
    MarkAll(false);
    RefreshSummaryLine(slPoints);
    RefreshSummaryLine(slPowerStep);
}

void CMainController::SendBothSweeps() {
    const bool locked = state_.settingsLocked;
    SFreqParams& f = profile_.freqparams;
    if (!locked) {
        f.start = edits_[eiStart].value;
        f.stop = edits_[eiStop].value;
        f.points = edits_[eiPoints].value;
    }
    if (LimitClientListPoints(f)) SetEditValue(eiPoints, f.points);
    TransferSweepList(false);
    if (!locked) {
        view_.ShowReadout(EReadout::F1, edits_[eiStart].value);
        view_.ShowReadout(EReadout::F2, edits_[eiStop].value);
        view_.ShowReadout(EReadout::P1, edits_[eiPowStart].value);
        view_.ShowReadout(EReadout::P2, edits_[eiPowStop].value);
    }
    if (profile_.controlparams.trigger == tmManual && !locked) RebuildManualSteps();
    MarkAll(false);
    for (const ESummaryLine line : {slPoints, slFrequencyStep, slPowerStep}) RefreshSummaryLine(line);
}

void CMainController::SendModeRanges() {
    for (const EModeSend send : ModeSends(profile_.controlparams.mode)) {
        switch (send) {
            case EModeSend::FrequencyFixed: SendFrequency(false); break;
            case EModeSend::FrequencyRange: SendFrequency(true); break;
            case EModeSend::PowerFixed: SendPower(false); break;
            case EModeSend::PowerRange: SendPower(true); break;
            case EModeSend::BothSweeps:
                // That mode uses the frequency points for both.
                ShowControlEnabled(EControl::PowPoints, false);
                SendBothSweeps();
                break;
            case EModeSend::ListFromSegments: TransferSweepList(true); break;
        }
    }
}

void CMainController::SendDwell() {
    double& dwell = profile_.controlparams.dwell;
    if (!state_.settingsLocked) dwell = edits_[eiDwell].value;
    if (Connected()) {
        double accepted = dwell;
        device_->SetDwell(accepted);
        if (DwellReadBackDiffers(dwell, accepted)) SetEditValue(eiDwell, accepted);
    }
    MarkAll(false);
    RefreshSummaryLine(slDwell);
}

void CMainController::SendSyncTime() {
    double& synctime = profile_.syncparams.synctime;
    if (!state_.settingsLocked) synctime = edits_[eiSyncTime].value;
    if (Connected()) {
        double accepted = synctime;
        device_->SetSyncOutTime(accepted);
        // The edit keeps what was typed; the record holds what is in force.
        synctime = accepted;
    }
    MarkAll(false);
    RefreshSummaryLine(slSyncTime);
}

void CMainController::SendPhase() {
    double& phase = profile_.syncparams.phase;
    if (!state_.settingsLocked) phase = edits_[eiPhase].value;
    if (!Connected()) return;
    std::int32_t degrees = PhaseToSend(phase);
    device_->SetPhase(degrees);
    if (static_cast<double>(degrees) != phase) {
        SetEditValue(eiPhase, degrees);
        MarkAll(false);
    }
}

// ---------------------------------------------------------- full range, ceiling

void CMainController::FreqFullRangeBClick() {
    profilePanel_.ForgetApplied();
    if (!FrequencyFullRangeApplies(profile_.controlparams.mode)) return;
    MarkAll(true);
    for (const SEditWrite& write : FrequencyFullRange(state_.limits))
        SetEditValue(write.edit, write.value, {CouplingOf(write)});
    SendFrequency(true);
}

void CMainController::PowFullRangeBClick() {
    profilePanel_.ForgetApplied();
    if (!PowerFullRangeApplies(profile_.controlparams.mode)) return;
    MarkAll(true);
    for (const SEditWrite& write : PowerFullRange(state_.limits, shown_.ceiling, shown_.powLimit))
        SetEditValue(write.edit, write.value, {CouplingOf(write)});
    SendPower(true);
}

void CMainController::ShowPowerCeiling(bool on, double limit) {
    shown_.ceiling = on;
    shown_.powLimit = limit;
    view_.ShowPowerCeiling(on, limit);
}

void CMainController::AllowLimitPowerCBClick(bool checked) {
    profilePanel_.ForgetApplied();
    shown_.ceiling = checked;
    if (!state_.settingsLocked) {
        // The ceiling is typed only while it is not in force.
        ShowControlEnabled(EControl::PowLimit, !checked && !state_.controlsOff);
        profile_.powparams.allowlimit = checked;
        if (checked) {
            EditConfirmed(kNoEdit);
            profile_.powparams.limit = shown_.powLimit;
        }
    }
    if (const std::optional<int> edit = CeilingResendEdit(profile_)) {
        RunSend(DispatchFor(*edit, profile_.controlparams.mode, profile_.freqparams.mode, edits_[eiStart].enabled));
    }
    RefreshSummaryLine(slPowerLimit);
}

}  // namespace z5r

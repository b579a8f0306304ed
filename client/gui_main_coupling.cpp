// TMain: the numeric edits while the operator types (coupling of the
// frequency and power groups), the confirmation of an entry and the sends it
// leads to, the instrument's limits, the full-range buttons and the power
// ceiling. The arithmetic lives in client/model; this file only moves values
// between the edits, the record and those units.
#include <QCheckBox>
#include <QComboBox>

#include "core/z5r_device.h"
#include "gui_main.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/edit_validation.h"
#include "model/full_range.h"
#include "model/power_ceiling.h"
#include "pulse_panel_view.h"

namespace z5r {

EditStates TMain::CurrentEditStates() const {
    EditStates states{};
    for (int i = 0; i < kEditCount; ++i) {
        const korvel::TKvSpinEdit* edit = edits_[static_cast<std::size_t>(i)];
        auto& s = states[static_cast<std::size_t>(i)];
        s.value = edit->GetValue();
        s.minimum = edit->MinValue();
        s.maximum = edit->MaxValue();
        s.changed = edit->GetChangedVal();
        s.enabled = edit->isEnabled();
    }
    return states;
}

EditValues TMain::CurrentEditValues() const {
    EditValues values{};
    for (int i = 0; i < kEditCount; ++i) values[static_cast<std::size_t>(i)] = edits_[static_cast<std::size_t>(i)]->GetValue();
    return values;
}

void TMain::SetEditValue(int index, double value, SEditWriteMode mode) {
    if (!IsTableEdit(index)) return;
    if (!state_.uiRefresh) {
        if (double* field = RecordField(profile_, index)) *field = value;
    }
    korvel::TKvSpinEdit* edit = edits_[static_cast<std::size_t>(index)];
    // The source keeps the text being typed; a disabled edit keeps what it shows.
    if (edit == mode.source || (!edit->isEnabled() && mode.disabled == EDisabledEdit::Keep)) return;
    edit->SetChangedVal(true);
    if (mode.coupling == ECoupling::Run) {
        edit->SetValue(value);
        return;
    }
    auto onChange = std::move(edit->OnChange);
    edit->OnChange = nullptr;
    edit->SetValue(value);
    edit->OnChange = std::move(onChange);
}

void TMain::WriteEdit(const SEditWrite& write) { SetEditValue(write.edit, write.value, {CouplingOf(write)}); }

void TMain::OnEditChange(korvel::TKvSpinEdit* edit) {
    // The window filling its controls from the record must not rewrite it.
    if (!state_.formShown || state_.settingsLocked || state_.uiRefresh) return;
    edit->SetChangedVal(true);
    const int index = EditIndex(edit);
    for (const SEditWrite& write : coupling_.OnEditChange(index, CurrentEditValues()))
        SetEditValue(write.edit, write.value, {CouplingOf(write), EDisabledEdit::Keep, edit});
}

void TMain::OnEditValidate(korvel::TKvSpinEdit* source) {
    const int index = EditIndex(source);
    const SValidation validation =
        Validate(index, CurrentEditStates(), profile_.controlparams.mode, profile_.freqparams.mode);
    // An entry out of range keeps every mark until it is corrected.
    if (validation.blocked) return;
    MarkAll(false);
    if (validation.dispatch == EDispatch::PulseParameters) pulsePanelView_->EditConfirmed(index);
    RunSend(validation.dispatch);
    if (validation.rememberAccepted) RememberAcceptedValues(index);
    ClearProfileMark();
}

void TMain::RunSend(EDispatch dispatch) {
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

void TMain::RememberAcceptedValues(int confirmedEdit) {
    if (!state_.formShown) return;
    EditFlags enabled{};
    for (int i = 0; i < kEditCount; ++i) enabled[static_cast<std::size_t>(i)] = edits_[static_cast<std::size_t>(i)]->isEnabled();
    // Confirming a single point must not make the collapsed stop the one a
    // later point count restores: the stop before the collapse is kept.
    const SCouplingMemory before = coupling_.Memory();
    for (int edit : coupling_.RememberAccepted(confirmedEdit, CurrentEditValues(), enabled))
        edits_[static_cast<std::size_t>(edit)]->RememberValue();
    if (before.collapsed) coupling_.Memory().savedStop = before.savedStop;
}

void TMain::RunPointsCoupling(int pointsEdit) {
    if (!state_.formShown || state_.settingsLocked) return;
    korvel::TKvSpinEdit* source = edits_[static_cast<std::size_t>(pointsEdit)];
    for (const SEditWrite& write : coupling_.OnEditChange(pointsEdit, CurrentEditValues()))
        SetEditValue(write.edit, write.value, {CouplingOf(write), EDisabledEdit::Keep, source});
}

void TMain::ShowEditRanges(const EditRanges& ranges, const SControlRange& ceiling) {
    for (int i = 0; i < kEditCount; ++i) {
        korvel::TKvSpinEdit* edit = edits_[static_cast<std::size_t>(i)];
        edit->SetMinValue(ranges[static_cast<std::size_t>(i)].minimum);
        edit->SetMaxValue(ranges[static_cast<std::size_t>(i)].maximum);
    }
    PowLimit->SetMinValue(ceiling.minimum);
    PowLimit->SetMaxValue(ceiling.maximum);
}

void TMain::FreqFullRangeBClick() {
    if (!FrequencyFullRangeApplies(profile_.controlparams.mode)) return;
    MarkAll(true);
    for (const SEditWrite& write : FrequencyFullRange(state_.limits))
        SetEditValue(write.edit, write.value, {CouplingOf(write)});
    SendFrequency(true);
    ClearProfileMark();
}

void TMain::PowFullRangeBClick() {
    if (!PowerFullRangeApplies(profile_.controlparams.mode)) return;
    MarkAll(true);
    for (const SEditWrite& write : PowerFullRange(state_.limits, AllowLimitPowerCB->isChecked(), PowLimit->GetValue()))
        SetEditValue(write.edit, write.value, {CouplingOf(write)});
    SendPower(true);
    ClearProfileMark();
}

void TMain::AllowLimitPowerCBClick() {
    if (!state_.settingsLocked) {
        const bool on = AllowLimitPowerCB->isChecked();
        // The ceiling is typed only while it is not in force.
        PowLimit->setEnabled(!on && !state_.controlsOff);
        profile_.powparams.allowlimit = on;
        if (on) {
            OnEditValidate(nullptr);
            profile_.powparams.limit = PowLimit->GetValue();
        }
    }
    if (const std::optional<int> edit = CeilingResendEdit(profile_)) {
        RunSend(DispatchFor(*edit, profile_.controlparams.mode, profile_.freqparams.mode, edtStart->isEnabled()));
    }
    RefreshSummary(slPowerLimit);
    ClearProfileMark();
}

}  // namespace z5r

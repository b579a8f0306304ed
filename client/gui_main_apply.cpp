// TMain: the enabled state of the setting controls and the values they show
// for the current record (SetControlsState). The send handlers of the
// controls build on this.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <cmath>
#include <limits>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "gui_main.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/control_states.h"
#include "model/control_values.h"
#include "model/hand_step.h"
#include "ui/radio_group.h"

namespace z5r {

namespace {

constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();

// A combo box shows `index`, or nothing for an index it does not have.
void ShowItem(QComboBox* combo, int index) {
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void ShowCheck(QCheckBox* box, bool checked) {
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

}  // namespace

const TMain::SControlTarget& TMain::ControlTarget(const char* name) {
    const auto cached = controlTargets_.find(name);
    if (cached != controlTargets_.end()) return cached->second;
    SControlTarget target;
    const QString objectName = QString::fromLatin1(name);
    target.action = findChild<QAction*>(objectName);
    if (target.action == nullptr) target.widget = findChild<QWidget*>(objectName);
    // A combo box's label follows it (ModeCB → ModeLabel).
    if (objectName.endsWith(QLatin1String("CB")) && qobject_cast<QComboBox*>(target.widget) != nullptr) {
        target.label = findChild<QLabel*>(objectName.chopped(2) + QLatin1String("Label"));
    }
    return controlTargets_.emplace(name, target).first->second;
}

void TMain::SetControlEnabled(const char* name, bool enabled) {
    const SControlTarget& target = ControlTarget(name);
    if (target.action != nullptr) {
        target.action->setEnabled(enabled);
        return;
    }
    if (target.widget != nullptr) target.widget->setEnabled(enabled);
    if (target.label != nullptr) target.label->setEnabled(enabled);
}

SControlInputs TMain::ControlInputs(bool connected) const {
    // The sweep list arrives with the list panel; until then it has no rows.
    return ControlInputsFor(profile_, connected, state_.settingsLocked, state_.attStrategyOk, 0);
}

void TMain::SetControlsState(bool connected) {
    state_.controlsOff = !connected || state_.settingsLocked;
    controller_.SetNextPointMode(NextPointMode(profile_, state_.settingsLocked));
    const SControlInputs in = ControlInputs(connected);
    ShowEnabledStates(in);
    SuperuserMenu->setEnabled(state_.superuserMenu);
    ShowControlValues(in);
    ResetProfilePanel(connected);
    MarkAll(false);
}

void TMain::ShowEnabledStates(const SControlInputs& in) {
    const CControlStates states = EnabledControls(in);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto control = static_cast<EControl>(i);
        SetControlEnabled(ControlName(control), states.Enabled(control));
    }
    // The table has no row for the phase offset; it is a setting like the
    // others of its panel and is usable exactly when they are.
    PhaseDelayEdit->setEnabled(!state_.controlsOff);
    // The list view's row commands wait for a selection.
    for (QAction* action : {EditLineAction, DeleteLineAction, UpLineAction, DownLineAction, SelAllAction,
                            DeselAllAction}) {
        if (!states.Enabled(EControl::ListLV)) action->setEnabled(false);
    }
}

void TMain::RefreshPanels() { ShowEnabledStates(ControlInputs(Connected())); }

void TMain::ShowControlValues(const SControlInputs& in) {
    const bool locked = state_.settingsLocked;
    state_.uiRefresh = true;

    const EditValues values = DisplayedEditValues(profile_, in);
    for (int i = 0; i < kEditCount; ++i) edits_[static_cast<std::size_t>(i)]->SetValue(values[static_cast<std::size_t>(i)]);
    PowLimit->SetValue(locked ? kBlank : profile_.powparams.limit);

    // Locked, the selectors show their first item and the reference nothing.
    ShowItem(ModeCB, locked ? 0 : profile_.controlparams.mode);
    ShowItem(TriggerModeCB, locked ? 0 : profile_.controlparams.trigger);
    ShowItem(RunModeCB, locked ? 0 : profile_.controlparams.runmode);
    ShowItem(SyncOutModeCB, locked ? 0 : profile_.syncparams.syncmode);
    ShowItem(RGFreqCB, locked ? -1 : profile_.syncparams.rgfreq);
    ShowItem(AttStrategyCB, profile_.powparams.strategy);
    ShowItem(PMModeCB, profile_.pulsemodparams.pulsemode);
    LinLogRG->SetItemIndex(profile_.freqparams.mode);

    ShowCheck(AllowLimitPowerCB, in.ceilingChecked);
    ShowCheck(ERGCB, in.extRefChecked);
    ShowCheck(SyncInCB, !locked && profile_.syncparams.syncin);
    ShowCheck(SyncOutCB, !locked && profile_.syncparams.syncout);
    ShowCheck(EPCCB, !locked && profile_.syncparams.epc);

    const SReadouts readouts = ReadoutValues(profile_, in);
    F0Label->SetValue(readouts.f0);
    F1Label->SetValue(readouts.f1);
    F2Label->SetValue(readouts.f2);
    P0Label->SetValue(readouts.p0);
    P1Label->SetValue(readouts.p1);
    P2Label->SetValue(readouts.p2);

    state_.uiRefresh = false;
}

void TMain::ResetProfilePanel(bool connected) {
    const bool unlocked = !state_.settingsLocked;
    ProfLV->setEnabled(connected);
    for (QAction* action : {NewProfileListAction, OpenProfileListAction, AddProfileAction}) {
        action->setEnabled(connected && unlocked);
    }
    SaveProfileListAction->setEnabled(connected && unlocked && ProfLV->topLevelItemCount() > 0);
    DefaultProfileAction->setEnabled(unlocked);
    // These wait for a selected row.
    for (QAction* action : {UpdateProfileAction, EditProfileAction, DelProfileAction, ApplyProfileAction}) {
        action->setEnabled(false);
    }
}

void TMain::MarkAll(bool changed) {
    for (korvel::TKvSpinEdit* edit : edits_) edit->SetChangedVal(changed);
}

}  // namespace z5r

namespace z5r {

namespace {

void SetStepOf(korvel::TKvSpinEdit* edit, double increment, bool decimal, std::optional<double> incpow = {}) {
    korvel::StepSettings step = edit->Step();
    step.increment = increment;
    step.decimal = decimal;
    if (incpow) step.power = StepExponent(*incpow);
    edit->SetStep(step);
}

}  // namespace

void TMain::ApplyCurrentSettings() {
    // A copy: the edits write into the record while it is applied.
    const SProfile p = profile_;
    const bool locked = state_.settingsLocked;
    // Values reach a locked window's edits only where the edit is usable; a
    // locked window shows no numbers.
    const EDisabledEdit disabled = locked ? EDisabledEdit::Keep : EDisabledEdit::Overwrite;

    // Step settings.
    const SFreqParams& f = p.freqparams;
    SetStepOf(edtStart, f.startinc, f.startinctype, f.startincpow);
    SetStepOf(edtStop, f.stopinc, f.stopinctype, f.stopincpow);
    SetStepOf(edtCenter, f.centerinc, f.centerinctype, f.centerincpow);
    SetStepOf(edtSpan, f.spaninc, f.spaninctype, f.spanincpow);
    SetStepOf(edtPoints, f.pointsinc, f.pointsinctype);
    const SPowParams& w = p.powparams;
    SetStepOf(PowStart, w.startinc, w.startinctype);
    SetStepOf(PowStop, w.stopinc, w.stopinctype);
    SetStepOf(PowCenter, w.centerinc, w.centerinctype);
    SetStepOf(PowSpan, w.spaninc, w.spaninctype);
    SetStepOf(PowPoints, w.pointsinc, w.pointsinctype);
    ShowCheck(AllowLimitPowerCB, !locked && w.allowlimit);
    PowLimit->SetValue(locked ? kBlank : w.limit);
    SetStepOf(PowLimit, w.limitinc, w.limitinctype);
    SetStepOf(DwellEdit, p.controlparams.dwellinc, p.controlparams.dwellinctype, p.controlparams.dwellincpow);
    SetStepOf(SyncTimeEdit, p.syncparams.synctimeinc, p.syncparams.synctimeinctype, p.syncparams.synctimeincpow);
    SetStepOf(PhaseDelayEdit, p.syncparams.phaseinc, p.syncparams.phaseinctype);
    const SPulseModParams& m = p.pulsemodparams;
    SetStepOf(TauSingleEdit, m.tauinc, m.tauinctype);
    SetStepOf(PeriodSingleEdit, m.periodsingleinc, m.periodsingleinctype);
    SetStepOf(QSingleEdit, m.qinc, m.qinctype);
    SetStepOf(PeriodPacketEdit, m.periodpacketinc, m.periodpacketinctype);

    LinLogRG->SetItemIndex(f.mode);

    // The coupling of the stop and the points recomputes centre and span,
    // which would overwrite the fixed frequency; it is kept for the modes
    // that use it.
    const double fix = f.fix;
    SetEditValue(eiStart, f.start, {ECoupling::Quiet, disabled});
    SetEditValue(eiStop, f.stop, {ECoupling::Run, disabled});
    SetEditValue(eiPoints, f.points, {ECoupling::Run, disabled});
    const SControlInputs in = ControlInputs(Connected());
    if (!FrequencyRangeOn(in)) SetEditValue(eiCenter, fix, {ECoupling::Quiet, disabled});

    ShowItem(AttStrategyCB, w.strategy);

    const double level = w.fix;
    SetEditValue(eiPowStart, w.start, {ECoupling::Quiet, disabled});
    SetEditValue(eiPowStop, w.stop, {ECoupling::Run, disabled});
    SetEditValue(eiPowPoints, w.points, {ECoupling::Run, disabled});
    if (!PowerRangeOn(in)) SetEditValue(eiPowCenter, level, {ECoupling::Quiet, disabled});

    ShowItem(RGFreqCB, locked ? -1 : p.syncparams.rgfreq);

    // The handlers send the record's flags; unlocked, the boxes show them first.
    if (!locked) {
        ShowCheck(SyncInCB, p.syncparams.syncin);
        ShowCheck(SyncOutCB, p.syncparams.syncout);
        ShowCheck(EPCCB, p.syncparams.epc);
        ShowCheck(ERGCB, p.syncparams.erg);
    }
    SyncInCBClick();
    SyncOutCBClick();
    EPCCBClick();
    ERGCBClick();

    // The sync duration and the phase go the same way, so that the
    // confirmations below send the record's values, not what the edits held.
    SetEditValue(eiTau, m.tau, {ECoupling::Quiet, disabled});
    SetEditValue(eiPeriodSingle, m.periodsingle, {ECoupling::Quiet, disabled});
    SetEditValue(eiQ, m.q, {ECoupling::Run, disabled});
    SetEditValue(eiPeriodPacket, m.periodpacket, {ECoupling::Run, disabled});
    SetEditValue(eiDwell, p.controlparams.dwell, {ECoupling::Run, disabled});
    SetEditValue(eiSyncTime, p.syncparams.synctime, {ECoupling::Quiet, disabled});
    SetEditValue(eiPhase, p.syncparams.phase, {ECoupling::Quiet, disabled});

    OnEditValidate(DwellEdit);
    AttStrategyCBChange();

    ShowItem(ModeCB, locked ? 0 : p.controlparams.mode);
    ShowItem(TriggerModeCB, locked ? 0 : p.controlparams.trigger);
    ShowItem(RunModeCB, locked ? 0 : p.controlparams.runmode);
    ModeCBChange();
    ShowItem(SyncOutModeCB, locked ? 0 : p.syncparams.syncmode);
    SyncOutModeCBChange();
    OnEditValidate(SyncTimeEdit);
    OnEditValidate(PhaseDelayEdit);
    MarkAll(false);

    // Seam: the working pulse packet and the pulse mode handler come with
    // the pulse modulation panel; until then the pulse mode stays "none".
    ShowItem(PMModeCB, pmNone);

    // Seam: the list panel rebuilds its rows from the record's sweep list
    // when it exists; the transfers read the record's list meanwhile.
    RefreshSummary();
}

}  // namespace z5r

// TMain: showing the enabled state and the values of the setting controls as
// the controller decides them, and applying the whole record.
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

SControlInputs TMain::ControlInputs(bool connected) const { return controller_.ControlInputs(connected); }

void TMain::ShowEnabledStates(const CControlStates& states, bool phaseDelayEnabled) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto control = static_cast<EControl>(i);
        SetControlEnabled(ControlName(control), states.Enabled(control));
    }
    PhaseDelayEdit->setEnabled(phaseDelayEnabled);
    // The list view's row commands wait for a selection.
    for (QAction* action : {EditLineAction, DeleteLineAction, UpLineAction, DownLineAction, SelAllAction,
                            DeselAllAction}) {
        if (!states.Enabled(EControl::ListLV)) action->setEnabled(false);
    }
}

void TMain::ShowSuperuserMenu(bool enabled) { SuperuserMenu->setEnabled(enabled); }

void TMain::ShowControlValues(const SDisplayedControls& d) {
    for (int i = 0; i < kEditCount; ++i) ShowEditValue(i, d.edits[static_cast<std::size_t>(i)]);
    PowLimit->SetValue(d.powLimit);
    ShowItem(ModeCB, d.mode);
    ShowItem(TriggerModeCB, d.trigger);
    ShowItem(RunModeCB, d.runmode);
    ShowItem(SyncOutModeCB, d.syncmode);
    ShowItem(RGFreqCB, d.rgfreq);
    ShowItem(AttStrategyCB, d.attStrategy);
    ShowItem(PMModeCB, d.pulsemode);
    LinLogRG->SetItemIndex(d.sweepType);
    ShowCheck(AllowLimitPowerCB, d.ceiling);
    ShowCheck(ERGCB, d.extRef);
    ShowCheck(SyncInCB, d.syncIn);
    ShowCheck(SyncOutCB, d.syncOut);
    ShowCheck(EPCCB, d.epc);
    F0Label->SetValue(d.readouts.f0);
    F1Label->SetValue(d.readouts.f1);
    F2Label->SetValue(d.readouts.f2);
    P0Label->SetValue(d.readouts.p0);
    P1Label->SetValue(d.readouts.p1);
    P2Label->SetValue(d.readouts.p2);
}

void TMain::ShowProfileActions(const SProfileActions& usable) {
    ProfLV->setEnabled(usable.list);
    for (QAction* action : {NewProfileListAction, OpenProfileListAction, AddProfileAction}) {
        action->setEnabled(usable.editing);
    }
    SaveProfileListAction->setEnabled(usable.saving);
    DefaultProfileAction->setEnabled(usable.defaultProfile);
    // These wait for a selected row.
    for (QAction* action : {UpdateProfileAction, EditProfileAction, DelProfileAction, ApplyProfileAction}) {
        action->setEnabled(false);
    }
}

void TMain::ShowPowerCeiling(bool on, double limit) {
    ShowCheck(AllowLimitPowerCB, on);
    PowLimit->SetValue(limit);
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
    controller_.ShowPowerCeiling(!locked && w.allowlimit, locked ? kBlank : w.limit);
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
    controller_.SetEditValue(eiStart, f.start, {ECoupling::Quiet, disabled});
    controller_.SetEditValue(eiStop, f.stop, {ECoupling::Run, disabled});
    controller_.SetEditValue(eiPoints, f.points, {ECoupling::Run, disabled});
    const SControlInputs in = ControlInputs(Connected());
    if (!FrequencyRangeOn(in)) controller_.SetEditValue(eiCenter, fix, {ECoupling::Quiet, disabled});

    ShowItem(AttStrategyCB, w.strategy);

    const double level = w.fix;
    controller_.SetEditValue(eiPowStart, w.start, {ECoupling::Quiet, disabled});
    controller_.SetEditValue(eiPowStop, w.stop, {ECoupling::Run, disabled});
    controller_.SetEditValue(eiPowPoints, w.points, {ECoupling::Run, disabled});
    if (!PowerRangeOn(in)) controller_.SetEditValue(eiPowCenter, level, {ECoupling::Quiet, disabled});

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
    controller_.SetEditValue(eiTau, m.tau, {ECoupling::Quiet, disabled});
    controller_.SetEditValue(eiPeriodSingle, m.periodsingle, {ECoupling::Quiet, disabled});
    controller_.SetEditValue(eiQ, m.q, {ECoupling::Run, disabled});
    controller_.SetEditValue(eiPeriodPacket, m.periodpacket, {ECoupling::Run, disabled});
    controller_.SetEditValue(eiDwell, p.controlparams.dwell, {ECoupling::Run, disabled});
    controller_.SetEditValue(eiSyncTime, p.syncparams.synctime, {ECoupling::Quiet, disabled});
    controller_.SetEditValue(eiPhase, p.syncparams.phase, {ECoupling::Quiet, disabled});

    controller_.EditConfirmed(eiDwell);
    AttStrategyCBChange();

    ShowItem(ModeCB, locked ? 0 : p.controlparams.mode);
    ShowItem(TriggerModeCB, locked ? 0 : p.controlparams.trigger);
    ShowItem(RunModeCB, locked ? 0 : p.controlparams.runmode);
    ModeCBChange();
    ShowItem(SyncOutModeCB, locked ? 0 : p.syncparams.syncmode);
    SyncOutModeCBChange();
    controller_.EditConfirmed(eiSyncTime);
    controller_.EditConfirmed(eiPhase);
    controller_.MarkAll(false);

    // Seam: the working pulse packet and the pulse mode handler come with
    // the pulse modulation panel; until then the pulse mode stays "none".
    ShowItem(PMModeCB, pmNone);

    // Seam: the list panel rebuilds its rows from the record's sweep list
    // when it exists; the transfers read the record's list meanwhile.
    RefreshSummary();
}

}  // namespace z5r

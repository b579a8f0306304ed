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

#include "gui_main.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/control_states.h"
#include "model/control_values.h"
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

void TMain::SetControlEnabled(const char* name, bool enabled) {
    const QString objectName = QString::fromLatin1(name);
    if (auto* action = findChild<QAction*>(objectName)) {
        action->setEnabled(enabled);
        return;
    }
    auto* widget = findChild<QWidget*>(objectName);
    if (widget == nullptr) return;
    widget->setEnabled(enabled);
    // A combo box's label follows it (ModeCB → ModeLabel).
    if (objectName.endsWith(QLatin1String("CB")) && qobject_cast<QComboBox*>(widget) != nullptr) {
        const QString labelName = objectName.chopped(2) + QLatin1String("Label");
        if (auto* label = findChild<QLabel*>(labelName)) label->setEnabled(enabled);
    }
}

SControlInputs TMain::ControlInputs(bool connected) const {
    // The sweep list arrives with the list panel; until then it has no rows.
    return ControlInputsFor(profile_, connected, state_.settingsLocked, state_.attStrategyOk, 0);
}

void TMain::SetControlsState(bool connected) {
    state_.controlsOff = !connected || state_.settingsLocked;
    const SControlInputs in = ControlInputs(connected);
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
    SuperuserMenu->setEnabled(state_.superuserMenu);
    ShowControlValues(in);
    ResetProfilePanel(connected);
    MarkAll(false);
}

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

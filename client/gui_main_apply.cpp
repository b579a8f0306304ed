// TMain: showing the enabled state, the values and the steps of the setting
// controls as the controller decides them.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <array>

#include "gui_main.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/control_states.h"
#include "model/control_values.h"
#include "ui/radio_group.h"

namespace z5r {

namespace {


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
    ShowSelection(ESelector::Mode, d.mode);
    ShowSelection(ESelector::Trigger, d.trigger);
    ShowSelection(ESelector::RunMode, d.runmode);
    ShowSelection(ESelector::SyncOutMode, d.syncmode);
    ShowSelection(ESelector::RgFreq, d.rgfreq);
    ShowSelection(ESelector::AttStrategy, d.attStrategy);
    ShowSelection(ESelector::PulseMode, d.pulsemode);
    ShowSelection(ESelector::SweepType, d.sweepType);
    ShowPowerCeiling(d.ceiling, d.powLimit);
    ShowChecked(ECheck::ExtRef, d.extRef);
    ShowChecked(ECheck::SyncIn, d.syncIn);
    ShowChecked(ECheck::SyncOut, d.syncOut);
    ShowChecked(ECheck::Epc, d.epc);
    F0Label->SetValue(d.readouts.f0);
    F1Label->SetValue(d.readouts.f1);
    F2Label->SetValue(d.readouts.f2);
    P0Label->SetValue(d.readouts.p0);
    P1Label->SetValue(d.readouts.p1);
    P2Label->SetValue(d.readouts.p2);
}

void TMain::ShowPowerCeiling(bool on, double limit) {
    ShowCheck(AllowLimitPowerCB, on);
    PowLimit->SetValue(limit);
}

void TMain::ShowEditSteps(const SEditSteps& steps) {
    const auto apply = [](korvel::TKvSpinEdit* edit, const SEditStep& wanted) {
        korvel::StepSettings step = edit->Step();
        step.increment = wanted.increment;
        step.decimal = wanted.decimal;
        if (wanted.power) step.power = *wanted.power;
        edit->SetStep(step);
    };
    for (int i = 0; i < kEditCount; ++i) apply(edits_[static_cast<std::size_t>(i)], steps.edits[static_cast<std::size_t>(i)]);
    apply(PowLimit, steps.ceiling);
}

void TMain::ShowSelection(ESelector selector, int index) {
    if (selector == ESelector::SweepType) {
        LinLogRG->SetItemIndex(index);
        return;
    }
    const std::array<QComboBox*, 8> combos{ModeCB,        TriggerModeCB, RunModeCB,     nullptr,
                                           SyncOutModeCB, RGFreqCB,      AttStrategyCB, PMModeCB};
    ShowItem(combos[static_cast<std::size_t>(selector)], index);
}

void TMain::ShowChecked(ECheck box, bool checked) {
    const std::array<QCheckBox*, 4> boxes{SyncInCB, SyncOutCB, EPCCB, ERGCB};
    ShowCheck(boxes[static_cast<std::size_t>(box)], checked);
}

}  // namespace z5r

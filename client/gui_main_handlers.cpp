// TMain: the handlers of the setting controls (operating mode, trigger, run
// moment, sweep type, RF output, manual step, synchronisation, external power
// control and reference, attenuator strategy) and their binding.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "gui_main.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/hand_step.h"
#include "model/send_rules.h"
#include "pulse_panel_view.h"
#include "ui/prompt.h"
#include "ui/radio_group.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

void ShowItemQuietly(QComboBox* combo, int index) {
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

}  // namespace

void TMain::WireSettingControls() {
    // Every operator event runs as one event of the controller.
    for (int i = 0; i < kEditCount; ++i) {
        korvel::TKvSpinEdit* edit = edits_[static_cast<std::size_t>(i)];
        edit->OnValidate = [this](korvel::TKvSpinEdit* sender) { controller_.Run([&] { OnEditValidate(sender); }); };
        // The pulse edits follow the pulse rules, which come with that panel.
        if (!IsPulseEdit(i))
            edit->OnChange = [this](korvel::TKvSpinEdit* sender) { controller_.Run([&] { OnEditChange(sender); }); };
    }
    const auto onIndex = [this](QComboBox* combo, void (TMain::*handler)()) {
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, handler] { controller_.Run([&] { (this->*handler)(); }); });
    };
    onIndex(ModeCB, &TMain::ModeCBChange);
    onIndex(TriggerModeCB, &TMain::TriggerModeCBChange);
    onIndex(RunModeCB, &TMain::RunModeCBChange);
    onIndex(SyncOutModeCB, &TMain::SyncOutModeCBChange);
    onIndex(AttStrategyCB, &TMain::AttStrategyCBChange);
    onIndex(RGFreqCB, &TMain::RGFreqCBChange);
    const auto onClick = [this](QAbstractButton* button, void (TMain::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { controller_.Run([&] { (this->*handler)(); }); });
    };
    onClick(SyncOutCB, &TMain::SyncOutCBClick);
    onClick(SyncInCB, &TMain::SyncInCBClick);
    onClick(EPCCB, &TMain::EPCCBClick);
    onClick(ERGCB, &TMain::ERGCBClick);
    onClick(AllowLimitPowerCB, &TMain::AllowLimitPowerCBClick);
    onClick(FreqFullRangeB, &TMain::FreqFullRangeBClick);
    onClick(PowFullRangeB, &TMain::PowFullRangeBClick);
    connect(LinLogRG, &TRadioGroup::itemClicked, this, [this] { controller_.Run([this] { LinLogRGClick(); }); });
    connect(EnableRFAction, &QAction::triggered, this, [this] { EnableRFActionExecute(); });
    connect(HandModeStepAction, &QAction::triggered, this, [this] { controller_.HandModeStepActionExecute(); });
}

void TMain::ModeCBChange() {
    SwitchRfOff();
    SControlParams& c = profile_.controlparams;
    if (!state_.settingsLocked) c.mode = ModeCB->currentIndex();
    if (Connected()) Device()->SetSweepMode(SweepModeToSend(c.mode, profile_.freqparams.mode));
    RefreshPanels();
    RunModeCBChange();
    pulsePanelView_->OperatingModeChanged();
    SendModeRanges();
    for (const ESummaryLine line : {slPoints, slRunMoment, slDwell, slAttStrategy, slSyncOut}) RefreshSummary(line);
    ClearProfileMark();
}

void TMain::RunModeCBChange() {
    const bool locked = state_.settingsLocked;
    SControlParams& c = profile_.controlparams;
    if (!locked) c.runmode = RunModeCB->currentIndex();
    controller_.SetNextPointMode(NextPointMode(profile_, locked));
    TriggerModeCBChange();
    if (Connected()) {
        int flag = locked ? 0 : c.runmode;
        Device()->SetSinglePoint(flag);
    }
    if (!locked && RunModeCB->currentIndex() != c.runmode) ShowItemQuietly(RunModeCB, c.runmode);
    RefreshSummary(slRunMoment);
    ClearProfileMark();
}

void TMain::TriggerModeCBChange() {
    const bool locked = state_.settingsLocked;
    SControlParams& c = profile_.controlparams;
    RememberAcceptedValues(kNoEdit);
    SwitchRfOff();
    if (!locked) c.trigger = TriggerModeCB->currentIndex();
    if (Connected()) {
        int flag = locked ? 0 : c.runmode;
        Device()->SetSinglePoint(flag);
        Device()->SetTriggerSource(locked ? 0 : c.trigger);
    }
    RefreshPanels();
    HandModeStepAction->setEnabled(!locked && Connected() && c.trigger == tmManual);
    controller_.ResetHandStep();
    if (c.trigger == tmManual && controller_.NextPointMode() && ManualSteppingActive(profile_, locked)) {
        // The instrument stays at one point; the client moves it.
        controller_.BuildManualPoints();
        if (Connected()) Device()->SetSweepMode(omFixed);
        controller_.HandStep(false);
        SweepPB->setEnabled(true);
    } else if (c.mode != omFixed && !locked) {
        if (Connected()) Device()->SetSweepMode(SweepModeToSend(c.mode, profile_.freqparams.mode));
        SendModeRanges();
        SweepPB->setEnabled(false);
    }
    MarkAll(false);
    ClearProfileMark();
}

void TMain::LinLogRGClick() {
    if (state_.settingsLocked) return;
    SControlParams& c = profile_.controlparams;
    profile_.freqparams.mode = LinLogRG->ItemIndex();
    const bool logarithmic = profile_.freqparams.mode == stLog;
    if (Connected() && !(c.trigger == tmManual && controller_.NextPointMode()))
        Device()->SetSweepMode(logarithmic ? SweepModeToSend(omFrequencySweep, stLog) : c.mode);
    SendFrequency(true);
    if (!logarithmic) SendPower(c.mode != omFrequencySweep);
    RefreshSummary(slFrequencyStep);
    ClearProfileMark();
}

void TMain::SyncOutModeCBChange() { controller_.SyncOutModeCBChange(SyncOutModeCB->currentIndex()); }

void TMain::SyncOutCBClick() { controller_.SyncOutCBClick(SyncOutCB->isChecked()); }

void TMain::SyncInCBClick() { controller_.SyncInCBClick(SyncInCB->isChecked()); }

void TMain::EPCCBClick() { controller_.EPCCBClick(EPCCB->isChecked()); }

void TMain::AttStrategyCBChange() { controller_.AttStrategyCBChange(AttStrategyCB->currentIndex()); }

void TMain::RGFreqCBChange() { controller_.RGFreqCBChange(RGFreqCB->currentIndex()); }

void TMain::ERGCBClick() { controller_.ERGCBClick(ERGCB->isChecked(), RGFreqCB->currentIndex()); }

}  // namespace z5r

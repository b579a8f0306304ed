// TMain: the setting controls bound to the controller's handlers, each
// passing on what the operator chose.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "gui_main.h"
#include "korvel/components/kv_spin_edit.h"
#include "ui/radio_group.h"

namespace z5r {

void TMain::WireSettingControls() {
    // Every operator event runs as one event of the controller.
    for (int i = 0; i < kEditCount; ++i) {
        korvel::TKvSpinEdit* edit = edits_[static_cast<std::size_t>(i)];
        edit->OnValidate = [this, i](korvel::TKvSpinEdit*) { controller_.Run([&] { controller_.EditConfirmed(i); }); };
        edit->OnChange = [this, i](korvel::TKvSpinEdit* sender) {
            controller_.Run([&] { controller_.EditChanged(i, sender->GetValue()); });
        };
        edit->OnUnitChange = [this, i](korvel::TKvSpinEdit* sender) {
            controller_.Run([&] { controller_.EditUnitPicked(i, sender->ShownPower()); });
        };
    }
    PowLimit->OnChange = [this](korvel::TKvSpinEdit* sender) { controller_.PowLimitChanged(sender->GetValue()); };
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

void TMain::ModeCBChange() { controller_.ModeCBChange(ModeCB->currentIndex()); }

void TMain::RunModeCBChange() { controller_.RunModeCBChange(RunModeCB->currentIndex()); }

void TMain::TriggerModeCBChange() { controller_.TriggerModeCBChange(TriggerModeCB->currentIndex()); }

void TMain::LinLogRGClick() { controller_.LinLogRGClick(LinLogRG->ItemIndex()); }

void TMain::AllowLimitPowerCBClick() { controller_.AllowLimitPowerCBClick(AllowLimitPowerCB->isChecked()); }

void TMain::SyncOutModeCBChange() { controller_.SyncOutModeCBChange(SyncOutModeCB->currentIndex()); }

void TMain::SyncOutCBClick() { controller_.SyncOutCBClick(SyncOutCB->isChecked()); }

void TMain::SyncInCBClick() { controller_.SyncInCBClick(SyncInCB->isChecked()); }

void TMain::EPCCBClick() { controller_.EPCCBClick(EPCCB->isChecked()); }

void TMain::AttStrategyCBChange() { controller_.AttStrategyCBChange(AttStrategyCB->currentIndex()); }

void TMain::RGFreqCBChange() { controller_.RGFreqCBChange(RGFreqCB->currentIndex()); }

void TMain::ERGCBClick() { controller_.ERGCBClick(ERGCB->isChecked()); }

}  // namespace z5r

#include "pulse_panel_view.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "gui_main.h"
#include "korvel/components/kv_spin_edit.h"
#include "packetparams.h"
#include "ui/edit_colour.h"

namespace z5r {

namespace {

void ShowItemQuietly(QComboBox& combo, int item) {
    const QSignalBlocker quiet(&combo);
    combo.setCurrentIndex(item >= 0 && item < combo.count() ? item : -1);
}

}  // namespace

TPulsePanelView::TPulsePanelView(TMain& main) : main_(main) {
    Panel().SetWindow(this);
    QObject::connect(main_.PMModeCB, &QComboBox::currentIndexChanged, &main_,
                     [this](int item) { Panel().PMModeCBChange(item); });
    QObject::connect(main_.PacketParamsButton, &QPushButton::clicked, &main_,
                     [this] { Panel().PacketParamsButtonClick(main_.PeriodPacketEdit->GetValue()); });
}

TPulsePanelView::~TPulsePanelView() { Panel().SetWindow(nullptr); }

CPulsePanel& TPulsePanelView::Panel() { return main_.Controller().Pulses(); }

void TPulsePanelView::ShowPulseMode(int item) { ShowItemQuietly(*main_.PMModeCB, item); }

void TPulsePanelView::ShowOperatingMode(int item) { ShowItemQuietly(*main_.ModeCB, item); }

void TPulsePanelView::RunOperatingModeChange() { main_.ModeCBChange(); }

void TPulsePanelView::ConfirmEdit(int edit) { main_.Controller().EditConfirmed(edit); }

void TPulsePanelView::MarkPeriodicEditsChanged() {
    for (korvel::TKvSpinEdit* edit : {main_.TauSingleEdit, main_.PeriodSingleEdit, main_.QSingleEdit})
        edit->SetChangedVal(true);
}

void TPulsePanelView::ShowPacketPeriodTooShort(bool tooShort) { ShowTooShort(*main_.PeriodPacketEdit, tooShort); }

IPacketEditorDialog* TPulsePanelView::PacketEditor() { return main_.Dialogs().packetParams; }

}  // namespace z5r

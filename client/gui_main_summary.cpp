// TMain: the fourteen lines of the parameter summary (ParamsLV1, ParamsLV2).
#include <QComboBox>
#include <QTreeWidget>

#include "gui_main.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/parameter_summary.h"

namespace z5r {

namespace {

SEditText TextOf(const korvel::TKvSpinEdit* edit) {
    return {edit->GetText().toStdString(), edit->GetCurentUnit().toStdString()};
}

}  // namespace

QTreeWidgetItem* TMain::SummaryItem(int line) const {
    if (line < 0 || line >= kSummaryLineCount) return nullptr;
    return line < kSummaryFirstListLines ? ParamsLV1->topLevelItem(line)
                                         : ParamsLV2->topLevelItem(line - kSummaryFirstListLines);
}

void TMain::RefreshSummary(int line) {
    QTreeWidgetItem* item = SummaryItem(line);
    if (item == nullptr) return;
    SSummaryState view;
    view.connected = state_.connectedFlag;
    view.settingsLocked = state_.settingsLocked;
    view.runModeEnabled = RunModeCB->isEnabled();
    view.dwellEnabled = DwellEdit->isEnabled();
    view.attStrategyEnabled = AttStrategyCB->isEnabled();
    view.rgFreqEnabled = RGFreqCB->isEnabled();
    view.dwell = TextOf(DwellEdit);
    view.powLimit = TextOf(PowLimit);
    view.syncTime = TextOf(SyncTimeEdit);
    item->setText(1, QString::fromStdString(SummaryValue(line, profile_, view)));
}

void TMain::RefreshSummary() {
    for (int line = 0; line < kSummaryLineCount; ++line) RefreshSummary(line);
}

void TMain::TranslateSummaryCaptions() {
    for (int line = 0; line < kSummaryLineCount; ++line) {
        if (QTreeWidgetItem* item = SummaryItem(line)) item->setText(0, QString::fromStdString(SummaryCaption(line)));
    }
}

}  // namespace z5r

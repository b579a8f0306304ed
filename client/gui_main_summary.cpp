// TMain: the fourteen lines of the parameter summary (ParamsLV1, ParamsLV2).
#include <QTreeWidget>

#include "gui_main.h"
#include "model/parameter_summary.h"

namespace z5r {

QTreeWidgetItem* TMain::SummaryItem(int line) const {
    if (line < 0 || line >= kSummaryLineCount) return nullptr;
    return line < kSummaryFirstListLines ? ParamsLV1->topLevelItem(line)
                                         : ParamsLV2->topLevelItem(line - kSummaryFirstListLines);
}

void TMain::ShowSummaryLine(ESummaryLine line, const std::string& value) {
    if (QTreeWidgetItem* item = SummaryItem(line)) item->setText(1, QString::fromStdString(value));
}

void TMain::TranslateSummaryCaptions() {
    for (int line = 0; line < kSummaryLineCount; ++line) {
        if (QTreeWidgetItem* item = SummaryItem(line)) item->setText(0, QString::fromStdString(SummaryCaption(line)));
    }
}

}  // namespace z5r

// TMain: what the status poll shows: the RF button, the indicators, the RF
// action's image, the external reference switched off; the poll's timer.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>

#include "gui_main.h"
#include "korvel/components/kv_indicator.h"
#include "window_images.h"
#include "z5r/i18n.h"

namespace z5r {

void TMain::ShowRfButton(bool pressed) {
    SVCHLabelItem->setText(QString::fromStdString(Tr("Кнопка СВЧ: ") + Tr(pressed ? "вкл" : "выкл")));
}

void TMain::ShowInstrumentError(const std::string& text) {
    ErrorLabelItem->setText(QString::fromStdString(text));
    ErrorLabelItem->setToolTip(ErrorLabelItem->text());
}

void TMain::ShowIndicator(EIndicator indicator, bool active) {
    switch (indicator) {
        case EIndicator::Capture: CaptureInd->SetActive(active); return;
        case EIndicator::Level: LevelInd->SetActive(active); return;
        case EIndicator::Power: PowInd->SetActive(active); return;
    }
}

void TMain::ShowRfOutput(bool enabled) { EnableRFAction->setChecked(enabled); }

void TMain::ShowRfRadiating(bool radiating) {
    const EToolImage image = radiating ? tiRfOn : tiRfOff;
    EnableRFAction->setIcon(ToolImage(image));
    EnableRFAction->setProperty("imageIndex", static_cast<int>(image));
}

void TMain::ShowExtRef(bool checked, bool rgFreqEnabled) {
    {
        const QSignalBlocker quiet(ERGCB);
        ERGCB->setChecked(checked);
    }
    SetControlEnabled("RGFreqCB", rgFreqEnabled);
}

void TMain::StartPoll() {
    connect(Timer1, &QTimer::timeout, this, &TMain::Timer1Timer, Qt::UniqueConnection);
    Timer1->start();
}

void TMain::StopPoll() { Timer1->stop(); }

}  // namespace z5r

// TMain: the right area — the tool bar and the control column of roll-up
// panels with the setting controls, one builder per panel.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <initializer_list>

#include "core/profile_enums.h"
#include "gui_main.h"
#include "gui_main_helpers.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "ui/radio_group.h"
#include "window_images.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

// The width of the control column; the compact view shows only it.
constexpr int kColumnWidth = 285;

// A roll-up panel with an empty content widget, created disabled: the panel
// makes its content usable when it takes it.
struct SPanelBuilder {
    korvel::TKvRollPanel* panel;
    QWidget* content;
    QVBoxLayout* layout;
};

SPanelBuilder StartPanel(const char* name, const char* caption, QWidget* parent) {
    auto* panel = Named(new korvel::TKvRollPanel(QString::fromUtf8(caption), parent), name);
    auto* content = new QWidget(panel);
    content->setEnabled(false);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    return {panel, content, layout};
}

void FinishPanel(const SPanelBuilder& b) { b.panel->SetContent(b.content); }

QComboBox* MakeCombo(const char* name, QWidget* parent) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(12);
    return combo;
}

QCheckBox* MakeCheck(const char* name, const char* caption, QWidget* parent) {
    return Named(new QCheckBox(QString::fromUtf8(caption), parent), name);
}

QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent) {
    return Named(new QPushButton(QString::fromUtf8(caption), parent), name);
}

void AddWidgets(QVBoxLayout* layout, std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) layout->addWidget(w);
}

// A label above its combo box.
void AddLabelled(QVBoxLayout* layout, QLabel* label, QComboBox* combo) {
    label->setBuddy(combo);
    layout->addWidget(label);
    layout->addWidget(combo);
}

}  // namespace

QWidget* TMain::BuildRightArea() {
    RightPanel = Named(new QWidget(this), "RightPanel");
    RightPanel->setFixedWidth(kColumnWidth);
    auto* layout = new QVBoxLayout(RightPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildToolBar(RightPanel);
    layout->addWidget(ToolBar);

    ControlPS = Named(new korvel::TKvPageScroller(RightPanel), "ControlPS");
    for (korvel::TKvRollPanel* panel : {BuildControlPanel(), BuildFreqPanel(), BuildPowPanel(), BuildSyncPanel(),
                                        BuildRefPanel(), BuildPulsePanel()}) {
        ControlPS->AddPanel(panel);
    }
    layout->addWidget(ControlPS, 1);
    return RightPanel;
}

korvel::TKvRollPanel* TMain::BuildControlPanel() {
    const SPanelBuilder b = StartPanel("ControlPan", Z5R_TEXT("Управление"), this);
    ModeLabel = MakeLabel("ModeLabel", Z5R_TEXT("Режим работы:"), b.content);
    ModeCB = MakeCombo("ModeCB", b.content);
    FillCombo(ModeCB, kOperatingModeItems);
    TriggerModeLabel = MakeLabel("TriggerModeLabel", Z5R_TEXT("Режим запуска:"), b.content);
    TriggerModeCB = MakeCombo("TriggerModeCB", b.content);
    FillCombo(TriggerModeCB, kTriggerModeItems);
    RunModeLabel = MakeLabel("RunModeLabel", Z5R_TEXT("Момент запуска:"), b.content);
    RunModeCB = MakeCombo("RunModeCB", b.content);
    FillCombo(RunModeCB, kRunModeItems);
    DwellEdit = MakeEdit("DwellEdit", b.content);

    AddLabelled(b.layout, ModeLabel, ModeCB);
    AddLabelled(b.layout, TriggerModeLabel, TriggerModeCB);
    AddLabelled(b.layout, RunModeLabel, RunModeCB);
    b.layout->addWidget(DwellEdit);
    FinishPanel(b);
    ControlPan = b.panel;
    return ControlPan;
}

korvel::TKvRollPanel* TMain::BuildFreqPanel() {
    const SPanelBuilder b = StartPanel("FreqPan", Z5R_TEXT("Частота"), this);
    edtStart = MakeEdit("edtStart", b.content);
    edtStop = MakeEdit("edtStop", b.content);
    edtCenter = MakeEdit("edtCenter", b.content);
    edtSpan = MakeEdit("edtSpan", b.content);
    edtPoints = MakeEdit("edtPoints", b.content);
    QStringList sweepTypes;
    for (const char* item : kSweepTypeItems) sweepTypes << QString::fromUtf8(item);
    LinLogRG = Named(new TRadioGroup(QString::fromUtf8(Z5R_TEXT("Тип развертки")), sweepTypes, b.content),
                     "LinLogRG");
    for (int type = 0; type < LinLogRG->Count(); ++type) LinLogRG->SetItemImage(type, SweepTypeImage(type));
    FreqFullRangeB = MakeButton("FreqFullRangeB", Z5R_TEXT("Полный диапазон"), b.content);
    FreqFullRangeB->setToolTip(QString::fromUtf8(Z5R_TEXT("Установить полный диапазон частот прибора")));

    AddWidgets(b.layout, {edtStart, edtStop, edtCenter, edtSpan, edtPoints, LinLogRG, FreqFullRangeB});
    FinishPanel(b);
    FreqPan = b.panel;
    return FreqPan;
}

korvel::TKvRollPanel* TMain::BuildPowPanel() {
    const SPanelBuilder b = StartPanel("PowPan", Z5R_TEXT("Мощность"), this);
    PowStart = MakeEdit("PowStart", b.content);
    PowStop = MakeEdit("PowStop", b.content);
    PowCenter = MakeEdit("PowCenter", b.content);
    PowSpan = MakeEdit("PowSpan", b.content);
    PowPoints = MakeEdit("PowPoints", b.content);
    PowFullRangeB = MakeButton("PowFullRangeB", Z5R_TEXT("Полный диапазон"), b.content);
    PowFullRangeB->setToolTip(QString::fromUtf8(Z5R_TEXT("Установить полный диапазон мощности прибора")));
    AllowLimitPowerCB =
        MakeCheck("AllowLimitPowerCB", Z5R_TEXT("Задать уровень максимальной мощности"), b.content);
    PowLimit = MakeEdit("PowLimit", b.content);
    AttStrategyLabel = MakeLabel("AttStrategyLabel", Z5R_TEXT("Управление аттенюатором:"), b.content);
    AttStrategyCB = MakeCombo("AttStrategyCB", b.content);
    FillCombo(AttStrategyCB, kAttStrategyItems);
    EPCCB = MakeCheck("EPCCB", Z5R_TEXT("Внешнее управление мощностью"), b.content);

    AddWidgets(b.layout,
               {PowStart, PowStop, PowCenter, PowSpan, PowPoints, PowFullRangeB, AllowLimitPowerCB, PowLimit});
    AddLabelled(b.layout, AttStrategyLabel, AttStrategyCB);
    b.layout->addWidget(EPCCB);
    FinishPanel(b);
    PowPan = b.panel;
    return PowPan;
}

korvel::TKvRollPanel* TMain::BuildSyncPanel() {
    const SPanelBuilder b = StartPanel("SyncPan", Z5R_TEXT("Синхронизация"), this);
    SyncOutModeLabel = MakeLabel("SyncOutModeLabel", Z5R_TEXT("Синхровыход:"), b.content);
    SyncOutModeCB = MakeCombo("SyncOutModeCB", b.content);
    FillCombo(SyncOutModeCB, kSyncOutModeItems);
    SyncTimeEdit = MakeEdit("SyncTimeEdit", b.content);
    SyncOutCB = MakeCheck("SyncOutCB", Z5R_TEXT("Инвертировать синхровыход"), b.content);
    SyncInCB = MakeCheck("SyncInCB", Z5R_TEXT("Инвертировать синхровход"), b.content);
    PhaseDelayEdit = MakeEdit("PhaseDelayEdit", b.content);

    AddLabelled(b.layout, SyncOutModeLabel, SyncOutModeCB);
    AddWidgets(b.layout, {SyncTimeEdit, SyncOutCB, SyncInCB, PhaseDelayEdit});
    FinishPanel(b);
    SyncPan = b.panel;
    return SyncPan;
}

korvel::TKvRollPanel* TMain::BuildRefPanel() {
    const SPanelBuilder b = StartPanel("OGPan", Z5R_TEXT("Опорный генератор"), this);
    ERGCB = MakeCheck("ERGCB", Z5R_TEXT("Внешний опорный генератор"), b.content);
    RGFreqLabel = MakeLabel("RGFreqLabel", Z5R_TEXT("Частота внешнего ОГ:"), b.content);
    RGFreqCB = MakeCombo("RGFreqCB", b.content);
    FillCombo(RGFreqCB, kRefFrequencyItems);

    b.layout->addWidget(ERGCB);
    AddLabelled(b.layout, RGFreqLabel, RGFreqCB);
    FinishPanel(b);
    OGPan = b.panel;
    return OGPan;
}

korvel::TKvRollPanel* TMain::BuildPulsePanel() {
    const SPanelBuilder b = StartPanel("PMPan", Z5R_TEXT("Импульсная модуляция"), this);
    PMModeLabel = MakeLabel("PMModeLabel", Z5R_TEXT("Импульсная модуляция"), b.content);
    PMModeCB = MakeCombo("PMModeCB", b.content);
    FillCombo(PMModeCB, kPulseModeItems);

    SingleModGroupBox = Named(new QGroupBox(QString::fromUtf8(Z5R_TEXT("Периодическая модуляция")), b.content),
                              "SingleModGroupBox");
    auto* single = new QVBoxLayout(SingleModGroupBox);
    TauSingleEdit = MakeEdit("TauSingleEdit", SingleModGroupBox);
    PeriodSingleEdit = MakeEdit("PeriodSingleEdit", SingleModGroupBox);
    QSingleEdit = MakeEdit("QSingleEdit", SingleModGroupBox);
    single->addWidget(TauSingleEdit);
    single->addWidget(PeriodSingleEdit);
    single->addWidget(QSingleEdit);

    PacketModGroupBox = Named(new QGroupBox(QString::fromUtf8(Z5R_TEXT("Пачка радиоимпульсов")), b.content),
                              "PacketModGroupBox");
    auto* packet = new QVBoxLayout(PacketModGroupBox);
    PeriodPacketEdit = MakeEdit("PeriodPacketEdit", PacketModGroupBox);
    PacketParamsButton =
        MakeButton("PacketParamsButton", Z5R_TEXT("Параметры пачки радиоимпульсов"), PacketModGroupBox);
    packet->addWidget(PeriodPacketEdit);
    packet->addWidget(PacketParamsButton);

    AddLabelled(b.layout, PMModeLabel, PMModeCB);
    b.layout->addWidget(SingleModGroupBox);
    b.layout->addWidget(PacketModGroupBox);
    FinishPanel(b);
    PMPan = b.panel;
    PMPan->SetCollapsed(true);
    return PMPan;
}

namespace {

// What a control of the column has of the column's width: the viewport less
// the margins of everything it stands in.
int RoomInColumn(const QWidget* control, const korvel::TKvPageScroller* column) {
    int room = kColumnWidth - 2 * column->frameWidth() - column->verticalScrollBar()->sizeHint().width();
    for (const QWidget* p = control->parentWidget(); p != nullptr && p != column->viewport(); p = p->parentWidget()) {
        room -= p->contentsMargins().left() + p->contentsMargins().right();
        if (const QLayout* layout = p->layout()) room -= layout->contentsMargins().left() + layout->contentsMargins().right();
    }
    return room;
}

// Breaks a check box's caption at blanks into lines that fit `room`.
void BreakCaption(QCheckBox* box, int room) {
    const QString text = box->text().replace(QLatin1Char('\n'), QLatin1Char(' '));
    box->setText(text);
    const QFontMetrics metrics = box->fontMetrics();
    const int indicator = box->sizeHint().width() - metrics.horizontalAdvance(text);
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && indicator + metrics.horizontalAdvance(longer) > room) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    lines << line;
    box->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace

void TMain::FitColumnToWidth() {
    // The texts are known only once translated: long captions go above their
    // numbers, long check box captions onto a second line.
    QWidget* column = ControlPS->widget();
    for (korvel::TKvSpinEdit* edit : column->findChildren<korvel::TKvSpinEdit*>()) {
        edit->SetCaptionAbove(edit->WidthBeside() > RoomInColumn(edit, ControlPS));
    }
    for (QCheckBox* box : column->findChildren<QCheckBox*>()) BreakCaption(box, RoomInColumn(box, ControlPS));
}

void TMain::OrderPanels() {
    const auto panels = Panels();
    for (std::size_t i = 0; i < panels.size(); ++i) panels[i]->SetOrderIndex(static_cast<int>(i));
    // Pulse modulation is offered only by instruments that have it.
    ShowPulsePanel(false);
    ControlPS->ArrangePanels();
}

}  // namespace z5r

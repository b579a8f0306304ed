// TMain: the left area — the readouts and the parameter summary on the tab
// "Параметры прибора", the sweep list on the tab "Список", and the profiles.
#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui_main.h"
#include "gui_main_helpers.h"
#include "korvel/components/kv_indicator.h"
#include "korvel/components/kv_label.h"
#include "model/parameter_summary.h"
#include "window_images.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

// Indicator colours as the platform's 0x00BBGGRR numbers.
constexpr std::uint32_t kLockOnColor = 3322980;
constexpr std::uint32_t kPowerOnColor = 478961;
const QColor kLampOffColor(192, 192, 192);  // silver

korvel::TKvLabel* MakeReadout(const char* name, const char* label, korvel::EUnits units, int order,
                              QWidget* parent) {
    auto* readout = Named(new korvel::TKvLabel(parent), name);
    readout->SetLabel(QString::fromUtf8(label));
    readout->SetUnits(units);
    readout->SetOrder(order);
    return readout;
}

korvel::TKvIndicator* MakeLamp(const char* name, const char* caption, std::uint32_t onColor, QWidget* parent) {
    auto* lamp = Named(new korvel::TKvIndicator(parent), name);
    lamp->SetCaption(QString::fromUtf8(caption));
    lamp->SetOnColor(korvel::ColorFromBgr(onColor));
    lamp->SetOffColor(kLampOffColor);
    return lamp;
}

QTreeWidget* MakeReportList(const char* name, const QStringList& columns, QWidget* parent) {
    auto* list = Named(new QTreeWidget(parent), name);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformRowHeights(true);
    return list;
}

QToolButton* MakeListButton(const char* name, QAction* action, const char* hint, QWidget* parent) {
    auto* button = Named(new QToolButton(parent), name);
    button->setText(action->text());
    button->setToolTip(QString::fromUtf8(hint));
    BindButton(button, action);
    return button;
}

}  // namespace

QWidget* TMain::BuildLeftArea() {
    LeftPanel = Named(new QWidget(this), "LeftPanel");
    auto* layout = new QVBoxLayout(LeftPanel);
    layout->setContentsMargins(0, 0, 0, 0);

    PageControl = Named(new QTabWidget(LeftPanel), "PageControl");
    auto* paramsTab = Named(new QWidget(PageControl), "ParamsTab");
    auto* paramsLayout = new QVBoxLayout(paramsTab);
    paramsLayout->addWidget(BuildReadouts());
    paramsLayout->addWidget(BuildSummary(), 1);
    PageControl->addTab(paramsTab, QString::fromUtf8(Z5R_TEXT("Параметры прибора")));
    PageControl->addTab(BuildListTab(), QString::fromUtf8(Z5R_TEXT("Список")));

    layout->addWidget(PageControl, 3);
    layout->addWidget(BuildProfileGroup(), 2);
    return LeftPanel;
}

QWidget* TMain::BuildReadouts() {
    auto* panel = Named(new QWidget(this), "ReadoutPanel");
    auto* grid = new QGridLayout(panel);
    F0Label = MakeReadout("F0Label", "F0:", korvel::EUnits::Frequency, 4, panel);
    F1Label = MakeReadout("F1Label", "F1:", korvel::EUnits::Frequency, 4, panel);
    F2Label = MakeReadout("F2Label", "F2:", korvel::EUnits::Frequency, 4, panel);
    P0Label = MakeReadout("P0Label", "P0: ", korvel::EUnits::Level, 1, panel);
    P1Label = MakeReadout("P1Label", "P1: ", korvel::EUnits::Level, 1, panel);
    P2Label = MakeReadout("P2Label", "P2: ", korvel::EUnits::Level, 1, panel);
    for (korvel::TKvLabel* readout : {F0Label, F1Label, F2Label}) readout->SetShowSignatures(true);

    CaptureInd = MakeLamp("CaptureInd", Z5R_TEXT("Захват"), kLockOnColor, panel);
    LevelInd = MakeLamp("LevelInd", Z5R_TEXT("Уровень"), kLockOnColor, panel);
    PowInd = MakeLamp("PowInd", Z5R_TEXT("Мощность "), kPowerOnColor, panel);
    // The state images of the mode and the trigger.
    ModeImage = Named(new QLabel(panel), "ModeImage");
    TriggerImage = Named(new QLabel(panel), "TriggerImage");

    auto* lamps = new QHBoxLayout;
    lamps->addWidget(ModeImage);
    lamps->addWidget(TriggerImage);
    lamps->addStretch(1);
    lamps->addWidget(CaptureInd);
    lamps->addWidget(LevelInd);
    lamps->addWidget(PowInd);

    // The fixed values side by side, then the sweep's ends: at the minimum
    // size the summary below keeps room for all its lines.
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(F0Label, 0, 0);
    grid->addWidget(P0Label, 0, 1);
    grid->addWidget(F1Label, 1, 0);
    grid->addWidget(F2Label, 1, 1);
    grid->addWidget(P1Label, 2, 0);
    grid->addWidget(P2Label, 2, 1);
    grid->addLayout(lamps, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    // Never narrower than their digits, caption and unit.
    for (korvel::TKvLabel* readout : {F0Label, F1Label, F2Label, P0Label, P1Label, P2Label}) {
        readout->setMinimumSize(readout->sizeHint());
    }
    return panel;
}

QWidget* TMain::BuildSummary() {
    auto* panel = Named(new QWidget(this), "SummaryPanel");
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    const QStringList columns{QString::fromUtf8(Z5R_TEXT("Параметр")), QString::fromUtf8(Z5R_TEXT("Значение"))};
    ParamsLV1 = MakeReportList("ParamsLV1", columns, panel);
    ParamsLV2 = MakeReportList("ParamsLV2", columns, panel);
    for (int line = 0; line < kSummaryLineCount; ++line) {
        QTreeWidget* list = line < kSummaryFirstListLines ? ParamsLV1 : ParamsLV2;
        new QTreeWidgetItem(list, QStringList{QString::fromStdString(SummaryCaption(line)),
                                              QStringLiteral("---")});
    }
    for (QTreeWidget* list : {ParamsLV1, ParamsLV2}) {
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        // All seven lines, without a scroll bar.
        list->setMinimumHeight(list->header()->sizeHint().height() + kSummaryFirstListLines * list->sizeHintForRow(0) +
                               2 * list->frameWidth());
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        layout->addWidget(list, 1);
    }
    return panel;
}

QWidget* TMain::BuildListTab() {
    auto* tab = Named(new QWidget(this), "ListTab");
    auto* layout = new QHBoxLayout(tab);

    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(MakeListButton("NewListButton", NewListAction, Z5R_TEXT("Очистить список"), tab));
    fileButtons->addWidget(MakeListButton("OpenListButton", OpenListAction, Z5R_TEXT("Открыть список"), tab));
    fileButtons->addWidget(
        MakeListButton("OpenListAndAddButton", OpenListAndAddAction, Z5R_TEXT("Добавить к текущему"), tab));
    fileButtons->addWidget(
        MakeListButton("SaveListButton", SaveListAction, Z5R_TEXT("Сохранить текущий список"), tab));
    fileButtons->addStretch(1);

    ListLV = MakeReportList("ListLV",
                            {QString::fromUtf8(Z5R_TEXT("№№")), QString::fromUtf8(Z5R_TEXT("Частота")),
                             QString::fromUtf8(Z5R_TEXT("Мощность")),
                             QString::fromUtf8(Z5R_TEXT("Количество точек"))},
                            tab);
    ListLV->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListLV->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListLV->setAllColumnsShowFocus(true);
    ListLV->setColumnWidth(0, 60);
    ListLV->setColumnWidth(1, 150);
    ListLV->setColumnWidth(2, 150);
    ListLV->addActions({AddLineAction, DeleteLineAction});
    ListLV->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListLV, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ListPopupMenu->popup(ListLV->viewport()->mapToGlobal(at)); });

    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(MakeListButton("UpLineButton", UpLineAction, Z5R_TEXT("Поднять сегмент на одну строку"), tab));
    rowButtons->addWidget(
        MakeListButton("DownLineButton", DownLineAction, Z5R_TEXT("Опустить сегмент на одну строку"), tab));
    rowButtons->addStretch(1);
    rowButtons->addWidget(MakeListButton("AddLineButton", AddLineAction, Z5R_TEXT("Добавить сегмент"), tab));
    rowButtons->addWidget(
        MakeListButton("EditLineButton", EditLineAction, Z5R_TEXT("Редактировать выбранный сегмент"), tab));
    rowButtons->addWidget(
        MakeListButton("DeleteLineButton", DeleteLineAction, Z5R_TEXT("Удалить выбранный сегмент"), tab));

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(ListLV, 1);
    listColumn->addLayout(rowButtons);
    layout->addLayout(fileButtons);
    layout->addLayout(listColumn, 1);
    return tab;
}

QWidget* TMain::BuildProfileGroup() {
    ProfilesGroupBox = Named(new QGroupBox(QString::fromUtf8(Z5R_TEXT("Профили")), this), "ProfilesGroupBox");
    auto* layout = new QHBoxLayout(ProfilesGroupBox);

    ProfLV = MakeReportList(
        "ProfLV", {QString::fromUtf8(Z5R_TEXT("№№")), QString::fromUtf8(Z5R_TEXT("Комментарий"))},
        ProfilesGroupBox);
    ProfLV->setColumnWidth(0, 60);
    ProfLV->setSelectionMode(QAbstractItemView::SingleSelection);
    ProfLV->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ProfLV, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ProfPopupMenu->popup(ProfLV->viewport()->mapToGlobal(at)); });

    struct SButton {
        const char* name;
        QAction* action;
    };
    const SButton buttons[] = {
        {"NewProfileListButton", NewProfileListAction}, {"OpenProfileListButton", OpenProfileListAction},
        {"SaveProfileListButton", SaveProfileListAction}, {"AddProfileButton", AddProfileAction},
        {"UpdateProfileButton", UpdateProfileAction},   {"EditProfileButton", EditProfileAction},
        {"DelProfileButton", DelProfileAction},         {"ApplyProfileButton", ApplyProfileAction},
        {"DefaultProfileButton", DefaultProfileAction},
    };
    // Two columns of buttons: one would be taller than the group's room at
    // the minimum size.
    constexpr int kButtonColumns = 2;
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    int index = 0;
    for (const SButton& b : buttons) {
        auto* button = Named(new QToolButton(ProfilesGroupBox), b.name);
        button->setDefaultAction(b.action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(button, index / kButtonColumns, index % kButtonColumns);
        ++index;
    }
    grid->setRowStretch(grid->rowCount(), 1);
    layout->addWidget(ProfLV, 1);
    layout->addLayout(grid);
    return ProfilesGroupBox;
}

void TMain::ShowStateImages(const SStateImages& images) {
    for (const auto& [label, index] : {std::pair{ModeImage, images.mode}, std::pair{TriggerImage, images.trigger}}) {
        // Drawing the image is costly and every refresh asks again for the same one.
        const QVariant shown = label->property("imageIndex");
        if (shown.isValid() && shown.toInt() == index) continue;
        label->setPixmap(StateImage(index));
        label->setProperty("imageIndex", index);
    }
}

void TMain::ShowSweepProgress(int position) { SweepPB->setValue(position); }

void TMain::ShowSweepProgressMaximum(int points) { SweepPB->setMaximum(points); }

void TMain::ShowFixedReadouts(double frequency, double level) {
    F0Label->SetValue(frequency);
    P0Label->SetValue(level);
}

void TMain::ShowReadout(EReadout readout, double value) {
    const std::array<korvel::TKvLabel*, 6> labels{F0Label, F1Label, F2Label, P0Label, P1Label, P2Label};
    labels[static_cast<std::size_t>(readout)]->SetValue(value);
}

}  // namespace z5r

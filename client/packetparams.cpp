#include "packetparams.h"

#include <QAction>
#include <QBrush>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/control_ranges.h"
#include "core/profile.h"
#include "gui_main_helpers.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/packet_texts.h"
#include "ui/edit_colour.h"
#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

using korvel::EUnits;
using korvel::TKvSpinEdit;

constexpr int kMinimumWidth = 600;
constexpr int kMinimumHeight = 265;
constexpr int kNumberColumnWidth = 60;
constexpr int kTimeColumnWidth = 150;
constexpr int kStatusPanel0Width = 250;
constexpr int kStatusPanel1Width = 200;
enum EColumn : int { colNumber = 0, colTau = 1, colPeriod = 2, colQ = 3, colCount = 4 };
constexpr int kMicroseconds = -6;

// The packet period may be shorter than a single pulse's shortest period.
constexpr SControlRange kPacketPeriodRange{1e-8, 4.0};

struct SEditSpec {
    const char* name;
    const char* label;
    EUnits units;
    SControlRange range;
    double initial;
    double increment;
    int incPow;
};

const SEditSpec kTauSpec{"TauEdit", Z5R_TEXT("Длительность импульса"), EUnits::Time, ranges::kTau, 1e-6,
                         stepdefaults::kPulseTimeInc, kMicroseconds};
const SEditSpec kPeriodSpec{"PeriodEdit", Z5R_TEXT("Период повторения"), EUnits::Time, ranges::kPulsePeriod, 1e-6,
                            stepdefaults::kPulseTimeInc, kMicroseconds};
const SEditSpec kQSpec{"QEdit", Z5R_TEXT("Скважность"), EUnits::None, ranges::kDutyFactor, 1.0,
                       stepdefaults::kDutyInc, 0};
const SEditSpec kPacketPeriodSpec{"PeriodPacketEdit", Z5R_TEXT("Период повторения пачки"), EUnits::Time,
                                  kPacketPeriodRange, 1e-6, stepdefaults::kPulseTimeInc, kMicroseconds};

TKvSpinEdit* MakeEdit(const SEditSpec& spec, QWidget* parent) {
    auto* edit = Named(new TKvSpinEdit(parent), spec.name);
    edit->SetLabel(QString::fromUtf8(spec.label));
    edit->SetUnits(spec.units);
    edit->SetMinValue(spec.range.minimum);
    edit->SetMaxValue(spec.range.maximum);
    edit->SetStep(korvel::StepSettings{spec.increment, false, spec.incPow});
    if (spec.units == EUnits::Time) edit->SetDisplayPower(kMicroseconds);
    edit->SetValue(spec.initial);
    return edit;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TPacketParamsForm::TPacketParamsForm(IPrompt& prompt, QWidget* parent)
    : QDialog(parent), editor_(*this, prompt) {
    setObjectName(QStringLiteral("PacketParamsForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Параметры пачки радиоимпульсов")));
    setModal(true);
    setSizeGripEnabled(true);
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    BuildActions();
    auto* tools = Named(new QToolBar(this), "PacketToolBar");
    tools->setIconSize(QSize(16, 16));
    tools->addActions({NewAction, OpenAction, OpenAndAddAction, SaveAction});
    tools->addSeparator();
    tools->addActions({AddAction, EditAction, DeleteAction, UpAction, DownAction});
    tools->addSeparator();
    tools->addActions({SelAllAction, DeselAllAction});

    PacketLV = Named(new QTreeWidget(this), "PacketLV");
    PacketLV->setColumnCount(colCount);
    PacketLV->setHeaderLabels({QStringLiteral("№"), QString::fromUtf8(Z5R_TEXT("Длительность импульса")),
                               QString::fromUtf8(Z5R_TEXT("Период повторения")),
                               QString::fromUtf8(Z5R_TEXT("Скважность"))});
    for (int column = colTau; column < colCount; ++column)
        PacketLV->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    PacketLV->setColumnWidth(colNumber, kNumberColumnWidth);
    PacketLV->setColumnWidth(colTau, kTimeColumnWidth);
    PacketLV->setColumnWidth(colPeriod, kTimeColumnWidth);
    PacketLV->header()->setStretchLastSection(true);
    PacketLV->setRootIsDecorated(false);
    PacketLV->setUniformRowHeights(true);
    PacketLV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PacketLV->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PacketLV->setSelectionBehavior(QAbstractItemView::SelectRows);
    PacketLV->setAllColumnsShowFocus(true);
    // Grid lines between the cells.
    PacketLV->setStyleSheet(QStringLiteral("QTreeView::item { border: 1px solid palette(mid); }"));
    // Delete belongs to the list view (PacketLVKeyDown): in an edit it
    // deletes text. The action only shows the key.
    DeleteAction->setShortcutContext(Qt::WidgetShortcut);
    PacketLV->installEventFilter(this);

    PacketPopupMenu = Named(new QMenu(this), "PacketPopupMenu");
    PacketPopupMenu->addActions({NewAction, OpenAction, SaveAction, AddAction, EditAction, DeleteAction, UpAction,
                                 DownAction, SelAllAction, DeselAllAction});
    PacketLV->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PacketLV, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PacketPopupMenu->popup(PacketLV->viewport()->mapToGlobal(at)); });

    auto* content = new QHBoxLayout;
    content->addWidget(PacketLV, 1);
    content->addWidget(BuildEdits());

    Status = Named(new QStatusBar(this), "Status");
    Status->setSizeGripEnabled(false);
    StatusPanel0 = Named(new QLabel(Status), "StatusPanel0");
    StatusPanel1 = Named(new QLabel(Status), "StatusPanel1");
    StatusPanel0->setMinimumWidth(kStatusPanel0Width);
    StatusPanel1->setMinimumWidth(kStatusPanel1Width);
    Status->addWidget(StatusPanel0);
    Status->addWidget(StatusPanel1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(tools);
    layout->addLayout(content, 1);
    layout->addWidget(Status);

    BindHandlers();
    TranslateWindow(this);
}

void TPacketParamsForm::BuildActions() {
    NewAction = MakeAction(this, "NewAction", Z5R_TEXT("Новый список"), Z5R_TEXT("Создать новый список"));
    OpenAction = MakeAction(this, "OpenAction", Z5R_TEXT("Открыть список"), Z5R_TEXT("Открыть список"));
    OpenAndAddAction = MakeAction(this, "OpenAndAddAction", Z5R_TEXT("Открыть список и добавить к текущему"),
                                  Z5R_TEXT("Открыть список и добавить к текущему"));
    SaveAction = MakeAction(this, "SaveAction", Z5R_TEXT("Сохранить список"), Z5R_TEXT("Сохранить текущий список"));
    AddAction = MakeAction(this, "AddAction", Z5R_TEXT("Добавить"), Z5R_TEXT("Добавить сегмент"),
                           QKeySequence(Qt::Key_Insert));
    EditAction = MakeAction(this, "EditAction", Z5R_TEXT("Применить"),
                            Z5R_TEXT("Применить изменения для выделенного сегмента"));
    DeleteAction = MakeAction(this, "DeleteAction", Z5R_TEXT("Удалить"), Z5R_TEXT("Удалить выбранный сегмент"),
                              QKeySequence(Qt::Key_Delete));
    UpAction = MakeAction(this, "UpAction", Z5R_TEXT("Переместить вверх"), Z5R_TEXT("Поднять сегмент на одну строку"));
    DownAction =
        MakeAction(this, "DownAction", Z5R_TEXT("Переместить вниз"), Z5R_TEXT("Опустить сегмент на одну строку"));
    SelAllAction = MakeAction(this, "SelAllAction", Z5R_TEXT("Выделить все"),
                              Z5R_TEXT("Установить выделение для всех сегментов"));
    DeselAllAction = MakeAction(this, "DeselAllAction", Z5R_TEXT("Снять выделение"),
                                Z5R_TEXT("Снять выделение для всех сегментов"));

    // Icons where the desktop has them; the tool bar shows the caption otherwise.
    const struct {
        QAction* action;
        const char* theme;
        QStyle::StandardPixmap fallback;
    } icons[] = {
        {NewAction, "document-new", QStyle::SP_FileIcon},
        {OpenAction, "document-open", QStyle::SP_DialogOpenButton},
        {OpenAndAddAction, "list-add", QStyle::SP_DirOpenIcon},
        {SaveAction, "document-save", QStyle::SP_DialogSaveButton},
        {AddAction, "list-add", QStyle::SP_FileDialogNewFolder},
        {EditAction, "dialog-ok-apply", QStyle::SP_DialogApplyButton},
        {DeleteAction, "list-remove", QStyle::SP_TrashIcon},
        {UpAction, "go-up", QStyle::SP_ArrowUp},
        {DownAction, "go-down", QStyle::SP_ArrowDown},
        {SelAllAction, "edit-select-all", QStyle::SP_DialogYesButton},
        {DeselAllAction, "edit-clear", QStyle::SP_DialogNoButton},
    };
    for (const auto& icon : icons)
        icon.action->setIcon(QIcon::fromTheme(QString::fromLatin1(icon.theme), style()->standardIcon(icon.fallback)));
}

QWidget* TPacketParamsForm::BuildEdits() {
    auto* column = Named(new QWidget(this), "PacketEditsPanel");
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(4, 0, 4, 0);

    auto* pulseBox = Named(new QGroupBox(QString::fromUtf8(Z5R_TEXT("Параметры импульса")), column),
                           "PulseGroupBox");
    auto* pulseLayout = new QVBoxLayout(pulseBox);
    TauEdit = MakeEdit(kTauSpec, pulseBox);
    PeriodEdit = MakeEdit(kPeriodSpec, pulseBox);
    QEdit = MakeEdit(kQSpec, pulseBox);
    for (TKvSpinEdit* edit : {TauEdit, PeriodEdit, QEdit}) pulseLayout->addWidget(edit);

    PeriodPacketEdit = MakeEdit(kPacketPeriodSpec, column);

    OkButton = Named(new QPushButton(QString::fromUtf8(Z5R_TEXT("ОК")), column), "OkButton");
    CancelButton = Named(new QPushButton(QString::fromUtf8(Z5R_TEXT("Отмена")), column), "CancelButton");
    // Enter confirms an edit; it does not leave the dialog.
    for (QPushButton* button : {OkButton, CancelButton}) button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);

    layout->addWidget(pulseBox);
    layout->addWidget(PeriodPacketEdit);
    layout->addStretch(1);
    layout->addLayout(buttons);
    return column;
}

void TPacketParamsForm::BindHandlers() {
    connect(NewAction, &QAction::triggered, this, [this] { NewActionExecute(); });
    connect(OpenAction, &QAction::triggered, this, [this] { OpenActionExecute(EPacketOpen::Replace); });
    connect(OpenAndAddAction, &QAction::triggered, this, [this] { OpenActionExecute(EPacketOpen::Append); });
    connect(SaveAction, &QAction::triggered, this, [this] { SaveActionExecute(); });
    connect(AddAction, &QAction::triggered, this, [this] { AddActionExecute(); });
    connect(EditAction, &QAction::triggered, this, [this] { EditActionExecute(); });
    connect(DeleteAction, &QAction::triggered, this, [this] { DeleteActionExecute(); });
    connect(UpAction, &QAction::triggered, this, [this] { UpActionExecute(); });
    connect(DownAction, &QAction::triggered, this, [this] { DownActionExecute(); });
    connect(SelAllAction, &QAction::triggered, this, [this] { SelAllActionExecute(); });
    connect(DeselAllAction, &QAction::triggered, this, [this] { DeselAllActionExecute(); });
    connect(PacketLV, &QTreeWidget::itemSelectionChanged, this, [this] { PacketLVSelectItem(); });
    connect(PacketLV, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int column) { PacketLVItemChecked(item, column); });
    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { reject(); });
    for (TKvSpinEdit* edit : {TauEdit, PeriodEdit, QEdit}) {
        edit->OnChange = [this](TKvSpinEdit* sender) { EditChange(sender); };
        edit->OnValidate = [this](TKvSpinEdit* sender) { EditValidate(sender); };
    }
    PeriodPacketEdit->OnChange = [this](TKvSpinEdit* sender) { PeriodPacketEditChange(sender); };
}

// ---- the entry point ----------------------------------------------------------

void TPacketParamsForm::Load(const std::vector<SPulse>& packet, double packetPeriod, double minPulse) {
    editor_.Begin(packet, packetPeriod, minPulse);
}

bool TPacketParamsForm::EditPacket(std::vector<SPulse>& packet, double& packetPeriod, double minPulse) {
    Load(packet, packetPeriod, minPulse);
    if (runModal_) {
        runModal_(*this);
    } else {
        exec();
    }
    if (!editor_.Accepted()) return false;
    packet = editor_.Packet();
    packetPeriod = editor_.PacketPeriod();
    return true;
}

void TPacketParamsForm::OkButtonClick() {
    if (editor_.Ok()) accept();
}

void TPacketParamsForm::reject() {
    if (!editor_.CloseQuery()) return;
    if (editor_.Accepted()) {
        accept();
    } else {
        QDialog::reject();
    }
}

// ---- events of the controls -----------------------------------------------------

void TPacketParamsForm::PacketLVSelectItem() {
    if (refreshing_) return;
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : PacketLV->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    editor_.SelectionChanged(std::move(rows));
}

bool TPacketParamsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PacketLV && event->type() == QEvent::KeyPress)
        return PacketLVKeyDown(*static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool TPacketParamsForm::PacketLVKeyDown(const QKeyEvent& key) {
    if (key.key() != Qt::Key_Delete || key.modifiers() != Qt::NoModifier) return false;
    if (DeleteAction->isEnabled()) DeleteActionExecute();
    return true;
}

void TPacketParamsForm::PacketLVItemChecked(QTreeWidgetItem* item, int column) {
    if (refreshing_ || column != colNumber) return;
    const int row = PacketLV->indexOfTopLevelItem(item);
    if (row < 0) return;
    editor_.RowTicked(static_cast<std::size_t>(row), item->checkState(colNumber) == Qt::Checked);
}

void TPacketParamsForm::EditChange(TKvSpinEdit* sender) {
    editor_.PulseEditChanged(PulseEditOf(sender), sender->GetValue());
}

void TPacketParamsForm::EditValidate(TKvSpinEdit* sender) {
    editor_.PulseEditConfirmed(PulseEditOf(sender), sender->GetValue());
}

void TPacketParamsForm::PeriodPacketEditChange(TKvSpinEdit* sender) { editor_.PacketPeriodChanged(sender->GetValue()); }

EPulseEdit TPacketParamsForm::PulseEditOf(const TKvSpinEdit* edit) const {
    if (edit == PeriodEdit) return EPulseEdit::Period;
    if (edit == QEdit) return EPulseEdit::DutyFactor;
    return EPulseEdit::Duration;
}

TKvSpinEdit* TPacketParamsForm::EditOf(EPulseEdit edit) const {
    switch (edit) {
        case EPulseEdit::Period: return PeriodEdit;
        case EPulseEdit::DutyFactor: return QEdit;
        case EPulseEdit::Duration: break;
    }
    return TauEdit;
}

void TPacketParamsForm::SetQuietly(TKvSpinEdit* edit, double value) {
    auto handler = std::move(edit->OnChange);
    edit->OnChange = nullptr;
    edit->SetValue(value);
    edit->OnChange = std::move(handler);
}

// ---- what the editor decided -------------------------------------------------------

void TPacketParamsForm::WriteRow(QTreeWidgetItem* item, std::size_t index, const SPulse& pulse) {
    const SPacketRowTexts texts = PacketRowTexts(index, pulse);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(colNumber, pulse.used ? Qt::Checked : Qt::Unchecked);
    item->setText(colNumber, Q(texts.number));
    item->setText(colTau, Q(texts.tau));
    item->setText(colPeriod, Q(texts.period));
    item->setText(colQ, Q(texts.q));
    for (int column = colTau; column < colCount; ++column) item->setTextAlignment(column, Qt::AlignCenter);
}

void TPacketParamsForm::ShowAllRows(const std::vector<SPulse>& packet) {
    refreshing_ = true;
    PacketLV->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(packet.size()));
    for (std::size_t i = 0; i < packet.size(); ++i) {
        auto* item = new QTreeWidgetItem;
        WriteRow(item, i, packet[i]);
        items.append(item);
    }
    PacketLV->addTopLevelItems(items);
    refreshing_ = false;
}

void TPacketParamsForm::ShowRow(std::size_t index, const SPulse& pulse) {
    refreshing_ = true;
    QTreeWidgetItem* item = PacketLV->topLevelItem(static_cast<int>(index));
    if (item == nullptr) item = new QTreeWidgetItem(PacketLV);
    WriteRow(item, index, pulse);
    refreshing_ = false;
}

void TPacketParamsForm::ShowSelection(const std::vector<std::size_t>& rows) {
    refreshing_ = true;
    PacketLV->clearSelection();
    for (std::size_t row : rows) {
        if (QTreeWidgetItem* item = PacketLV->topLevelItem(static_cast<int>(row))) item->setSelected(true);
    }
    if (!rows.empty()) {
        if (QTreeWidgetItem* item = PacketLV->topLevelItem(static_cast<int>(rows.front()))) {
            PacketLV->setCurrentItem(item, colNumber, QItemSelectionModel::NoUpdate);
            PacketLV->scrollToItem(item);
        }
    }
    refreshing_ = false;
}

void TPacketParamsForm::ShowPulseEdit(EPulseEdit edit, double value) { SetQuietly(EditOf(edit), value); }

void TPacketParamsForm::ShowPacketPeriod(double period) { SetQuietly(PeriodPacketEdit, period); }

void TPacketParamsForm::ShowSummary(const SPacketSummary& summary) {
    StatusPanel0->setText(Q(summary.durationText));
    StatusPanel1->setText(Q(summary.warningText));
    ShowTooShort(*PeriodPacketEdit, summary.tooShort);
}

void TPacketParamsForm::ShowActionStates(const SPacketActionStates& states) {
    EditAction->setEnabled(states.edit);
    UpAction->setEnabled(states.up);
    DownAction->setEnabled(states.down);
    DeleteAction->setEnabled(states.remove);
    SelAllAction->setEnabled(states.selectAll);
    DeselAllAction->setEnabled(states.deselectAll);
    NewAction->setEnabled(states.newList);
    SaveAction->setEnabled(states.save);
}

}  // namespace z5r

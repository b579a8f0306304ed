#include "list_panel_view.h"

#include <QAction>
#include <QDialog>
#include <QEvent>
#include <QLocale>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <vector>

#include "gui_main.h"
#include "listeditor.h"

namespace z5r {

namespace {

enum EListColumn { lcNumber, lcFrequency, lcLevel, lcPoints, lcCount };

char DecimalPoint() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

}  // namespace

void CListEditorDialog::SetLimits(const SSegmentEditorLimits& limits) {
    if (TListEditorForm* form = main_.Dialogs().listEditor) form->SetLimits(limits);
}

bool CListEditorDialog::EditSegment(SListPoint& segment) {
    TListEditorForm* form = main_.Dialogs().listEditor;
    return form != nullptr && form->EditSegment(segment) == QDialog::Accepted;
}

TListPanelView::TListPanelView(TMain& main) : QObject(&main), main_(main), editor_(main) {
    main_.ListLV->setColumnCount(lcCount);
    for (int column : {lcFrequency, lcLevel, lcPoints}) {
        main_.ListLV->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    }
    main_.ListLV->viewport()->installEventFilter(this);
    Wire();
    main_.Controller().ListPanel().Attach(this, &editor_, DecimalPoint());
}

template <typename Action>
void TListPanelView::Run(Action&& action) {
    CMainController& controller = main_.Controller();
    controller.Run([&] { action(controller.ListPanel()); });
}

void TListPanelView::Wire() {
    const auto bind = [this](QAction* action, void (CListPanel::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { Run([handler](CListPanel& p) { (p.*handler)(); }); });
    };
    bind(main_.NewListAction, &CListPanel::NewListActionExecute);
    bind(main_.SaveListAction, &CListPanel::SaveListActionExecute);
    bind(main_.AddLineAction, &CListPanel::AddLineActionExecute);
    bind(main_.EditLineAction, &CListPanel::EditLineActionExecute);
    bind(main_.DeleteLineAction, &CListPanel::DeleteLineActionExecute);
    bind(main_.UpLineAction, &CListPanel::UpLineActionExecute);
    bind(main_.DownLineAction, &CListPanel::DownLineActionExecute);
    bind(main_.SelAllAction, &CListPanel::SelAllActionExecute);
    bind(main_.DeselAllAction, &CListPanel::DeselAllActionExecute);
    connect(main_.OpenListAction, &QAction::triggered, this,
            [this] { Run([](CListPanel& p) { p.OpenListActionExecute(EListOpen::Replace); }); });
    connect(main_.OpenListAndAddAction, &QAction::triggered, this,
            [this] { Run([](CListPanel& p) { p.OpenListActionExecute(EListOpen::Append); }); });
    connect(main_.ListLV, &QTreeWidget::itemSelectionChanged, this, &TListPanelView::ListLVSelectionChanged);
    connect(main_.ListLV, &QTreeWidget::itemChanged, this, &TListPanelView::ListLVItemChanged);
}

bool TListPanelView::eventFilter(QObject* watched, QEvent* event) {
    // On a row or on the empty part of the view alike.
    if (watched == main_.ListLV->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Run([](CListPanel& p) { p.ListLVDblClick(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TListPanelView::ListLVSelectionChanged() {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : main_.ListLV->selectedItems()) {
        rows.push_back(main_.ListLV->indexOfTopLevelItem(item));
    }
    main_.Controller().ListPanel().SelectionChanged(std::move(rows));
}

void TListPanelView::ListLVItemChanged(QTreeWidgetItem* item, int column) {
    if (column != lcNumber) return;
    const int row = main_.ListLV->indexOfTopLevelItem(item);
    const bool checked = item->checkState(lcNumber) == Qt::Checked;
    Run([row, checked](CListPanel& p) { p.ListLVItemChecked(row, checked); });
}

void TListPanelView::ClearRows() { main_.ListLV->clear(); }

void TListPanelView::ShowRow(int index, const SSegmentRow& row) {
    QTreeWidget* list = main_.ListLV;
    QTreeWidgetItem* item = list->topLevelItem(index);
    const bool appended = item == nullptr;
    if (appended) {
        item = new QTreeWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        for (int column : {lcFrequency, lcLevel, lcPoints}) item->setTextAlignment(column, Qt::AlignCenter);
    }
    item->setText(lcNumber, QString::fromStdString(row.number));
    item->setText(lcFrequency, QString::fromStdString(row.frequency));
    item->setText(lcLevel, QString::fromStdString(row.level));
    item->setText(lcPoints, QString::fromStdString(row.points));
    item->setCheckState(lcNumber, row.checked ? Qt::Checked : Qt::Unchecked);
    // A row filled before it joins the list costs the view one insertion
    // instead of one change notice per cell.
    if (appended) list->addTopLevelItem(item);
}

void TListPanelView::SelectRow(int row) {
    QTreeWidgetItem* item = main_.ListLV->topLevelItem(row);
    if (item == nullptr) return;
    main_.ListLV->clearSelection();
    main_.ListLV->setCurrentItem(item);
    item->setSelected(true);
}

void TListPanelView::ShowListActions(const SListActions& usable) {
    main_.NewListAction->setEnabled(usable.newList);
    main_.SaveListAction->setEnabled(usable.save);
    main_.EditLineAction->setEnabled(usable.edit);
    main_.DeleteLineAction->setEnabled(usable.remove);
    main_.UpLineAction->setEnabled(usable.up);
    main_.DownLineAction->setEnabled(usable.down);
    main_.SelAllAction->setEnabled(usable.selectAll);
    main_.DeselAllAction->setEnabled(usable.deselectAll);
}

void TListPanelView::EnableSave() { main_.SaveListAction->setEnabled(true); }

}  // namespace z5r

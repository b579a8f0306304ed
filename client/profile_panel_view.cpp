#include "profile_panel_view.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QToolTip>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "gui_main.h"
#include "korvel/components/kv_spin_edit.h"

namespace z5r {

namespace {

enum EProfileColumn { pcNumber, pcComment, pcCount };

SEditStep StepOf(const korvel::TKvSpinEdit& edit) {
    return SEditStep{edit.Increment(), edit.IncType(), edit.IncPow()};
}

}  // namespace

TProfilePanelView::TProfilePanelView(TMain& main) : QObject(&main), main_(main) {
    main_.ProfLV->setColumnCount(pcCount);
    main_.ProfLV->viewport()->installEventFilter(this);
    main_.ProfLV->installEventFilter(this);
    Wire();
    CMainController& controller = main_.Controller();
    controller.Profiles().Attach(this);
    controller.Superuser().Attach(this);
}

template <typename Action>
void TProfilePanelView::Run(Action&& action) {
    CMainController& controller = main_.Controller();
    controller.Run([&] { action(controller.Profiles()); });
}

void TProfilePanelView::Wire() {
    const auto bind = [this](QAction* action, void (CProfilePanel::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { Run([handler](CProfilePanel& p) { (p.*handler)(); }); });
    };
    bind(main_.NewProfileListAction, &CProfilePanel::NewProfileListActionExecute);
    bind(main_.OpenProfileListAction, &CProfilePanel::OpenProfileListActionExecute);
    bind(main_.SaveProfileListAction, &CProfilePanel::SaveProfileListActionExecute);
    bind(main_.AddProfileAction, &CProfilePanel::AddProfileActionExecute);
    bind(main_.UpdateProfileAction, &CProfilePanel::UpdateProfileActionExecute);
    bind(main_.EditProfileAction, &CProfilePanel::EditProfileActionExecute);
    bind(main_.DelProfileAction, &CProfilePanel::DelProfileActionExecute);
    bind(main_.ApplyProfileAction, &CProfilePanel::ApplyProfileActionExecute);
    bind(main_.DefaultProfileAction, &CProfilePanel::DefaultProfileActionExecute);
    connect(main_.ProfLV, &QTreeWidget::itemSelectionChanged, this, &TProfilePanelView::SelectionChanged);

    const auto bindSuperuser = [this](QAction* action, void (CSuperuser::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] {
            CMainController& controller = main_.Controller();
            controller.Run([&] { (controller.Superuser().*handler)(); });
        });
    };
    bindSuperuser(main_.PassSuperuserAction, &CSuperuser::PassSuperuserActionExecute);
    bindSuperuser(main_.ChangePassSuperuserAction, &CSuperuser::ChangePassSuperuserActionExecute);
    bindSuperuser(main_.ExitSupermodeAction, &CSuperuser::ExitSupermodeActionExecute);
}

bool TProfilePanelView::eventFilter(QObject* watched, QEvent* event) {
    QTreeWidget* list = main_.ProfLV;
    if (watched == list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Run([](CProfilePanel& p) { p.ProfLVDblClick(); });
        return true;
    }
    if (watched == list->viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QTreeWidgetItem* item = list->itemAt(help->pos());
        const std::optional<std::string> text =
            item != nullptr ? main_.Controller().Profiles().Tooltip(list->indexOfTopLevelItem(item)) : std::nullopt;
        if (!text) return false;  // the view's own tip
        QToolTip::showText(help->globalPos(), QString::fromStdString(*text), list);
        return true;
    }
    if (watched == list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Run([](CProfilePanel& p) { p.ProfLVEnter(); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TProfilePanelView::SelectionChanged() {
    const QList<QTreeWidgetItem*> selected = main_.ProfLV->selectedItems();
    std::optional<int> row;
    if (!selected.isEmpty()) row = main_.ProfLV->indexOfTopLevelItem(selected.front());
    main_.Controller().Profiles().SelectionChanged(row);
}

void TProfilePanelView::ClearRows() { main_.ProfLV->clear(); }

void TProfilePanelView::ShowRow(int index, const SProfileRow& row) {
    QTreeWidget* list = main_.ProfLV;
    QTreeWidgetItem* item = list->topLevelItem(index);
    const bool appended = item == nullptr;
    if (appended) item = new QTreeWidgetItem;
    item->setText(pcNumber, QString::fromStdString(row.number));
    item->setText(pcComment, QString::fromStdString(row.comment));
    item->setIcon(pcNumber, row.applied ? list->style()->standardIcon(QStyle::SP_DialogApplyButton) : QIcon());
    item->setData(pcNumber, Qt::UserRole, row.applied);
    if (appended) list->addTopLevelItem(item);
}

void TProfilePanelView::RemoveLastRow() {
    QTreeWidget* list = main_.ProfLV;
    if (list->topLevelItemCount() > 0) delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
}

void TProfilePanelView::ShowProfileActions(const SProfilePanelActions& usable) {
    main_.ProfLV->setEnabled(usable.list);
    main_.NewProfileListAction->setEnabled(usable.newList);
    main_.OpenProfileListAction->setEnabled(usable.open);
    main_.SaveProfileListAction->setEnabled(usable.save);
    main_.AddProfileAction->setEnabled(usable.add);
    main_.UpdateProfileAction->setEnabled(usable.update);
    main_.EditProfileAction->setEnabled(usable.edit);
    main_.DelProfileAction->setEnabled(usable.remove);
    main_.ApplyProfileAction->setEnabled(usable.apply);
    main_.DefaultProfileAction->setEnabled(usable.defaults);
}

SCaptureSource TProfilePanelView::CaptureSource() const {
    SCaptureSource source;
    for (int i = 0; i < kEditCount; ++i) {
        const korvel::TKvSpinEdit* edit = main_.Edit(i);
        if (edit == nullptr) continue;
        source.steps.edits[static_cast<std::size_t>(i)] = StepOf(*edit);
        source.texts[static_cast<std::size_t>(i)] = SEditText{edit->GetText().toStdString(), edit->GetCurentUnit().toStdString()};
    }
    source.steps.ceiling = StepOf(*main_.PowLimit);
    return source;
}

void TProfilePanelView::ShowSuperuserActions(const SSuperuserActions& usable) {
    main_.PassSuperuserAction->setEnabled(usable.login);
    main_.ChangePassSuperuserAction->setEnabled(usable.change);
    main_.ExitSupermodeAction->setEnabled(usable.logout);
}

}  // namespace z5r

// The list panel's widgets as the list panel's view: the rows of ListLV, the
// enabled list actions, and the operator's actions, selection, check-box
// clicks and double clicks forwarded to the controller's list panel.
#pragma once

#include <QObject>

#include "model/list_panel.h"

class QTreeWidgetItem;

namespace z5r {

class TMain;

// The segment editor of the window's dialogs behind the panel's interface.
class CListEditorDialog final : public ISegmentEditorDialog {
public:
    explicit CListEditorDialog(TMain& main) : main_(main) {}
    void SetLimits(const SSegmentEditorLimits& limits) override;
    bool EditSegment(SListPoint& segment) override;

private:
    TMain& main_;
};

class TListPanelView final : public QObject, public IListRows {
    Q_OBJECT
public:
    // Owned by `main`; attaches itself to the controller's list panel.
    explicit TListPanelView(TMain& main);

    void ClearRows() override;
    void ShowRow(int index, const SSegmentRow& row) override;
    void SelectRow(int row) override;
    void ShowListActions(const SListActions& usable) override;
    void EnableSave() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Wire();
    // An action of the panel, as one event of the window.
    template <typename Action>
    void Run(Action&& action);
    void ListLVSelectionChanged();
    void ListLVItemChanged(QTreeWidgetItem* item, int column);

    TMain& main_;
    CListEditorDialog editor_;
};

}  // namespace z5r

// The profile group's widgets as the profile panel's view: the rows of ProfLV
// with the applied mark, the enabled profile commands, the tooltip, and the
// operator's commands, selection, double click and Enter forwarded to the
// controller's profile panel; the superuser submenu's commands likewise.
#pragma once

#include <QObject>

#include "model/profile_panel.h"
#include "model/superuser.h"

namespace z5r {

class TMain;

class TProfilePanelView final : public QObject, public IProfileRows, public ISuperuserView {
    Q_OBJECT
public:
    // Owned by `main`; attaches itself to the controller's profile panel and
    // superuser mode.
    explicit TProfilePanelView(TMain& main);

    void ClearRows() override;
    void ShowRow(int index, const SProfileRow& row) override;
    void RemoveLastRow() override;
    void ShowProfileActions(const SProfilePanelActions& usable) override;
    SCaptureSource CaptureSource() const override;
    void ShowSuperuserActions(const SSuperuserActions& usable) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Wire();
    template <typename Action>
    void Run(Action&& action);
    void SelectionChanged();

    TMain& main_;
};

}  // namespace z5r

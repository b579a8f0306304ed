// The main window's controller as the list panel's host: the transfer from
// the list, the editor's limits and the level ceiling from the current record.
#pragma once

#include "model/list_panel.h"

namespace z5r {

class CMainController;

class CControllerListHost final : public IListPanelHost {
public:
    explicit CControllerListHost(CMainController& controller) : controller_(controller) {}
    void TransferFromList() override;
    SSegmentEditorLimits EditorLimits() const override;
    std::optional<double> LevelCeiling() const override;
    bool SettingsLocked() const override;

private:
    CMainController& controller_;
};

}  // namespace z5r

#include "model/list_panel_host.h"

#include "model/main_controller.h"
#include "model/power_ceiling.h"

namespace z5r {

void CControllerListHost::TransferFromList() { controller_.TransferSweepList(true); }

SSegmentEditorLimits CControllerListHost::EditorLimits() const {
    return SegmentEditorLimits(controller_.State().limits, LevelCeiling());
}

std::optional<double> CControllerListHost::LevelCeiling() const {
    return PowerCeiling(controller_.Profile().powparams);
}

bool CControllerListHost::SettingsLocked() const { return controller_.State().settingsLocked; }

}  // namespace z5r

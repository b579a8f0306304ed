// The controller after superuser login and logout.
#include "model/main_controller.h"

namespace z5r {

void CMainController::ShowLockChange() {
    view_.ShowPulsePanel(state_.hasPulseModUi && !state_.settingsLocked);
    SetControlsState(true);
    RunModeCBChange(shown_.runmode);
    RefreshSummary();
    profilePanel_.ShowAllRows();
    listPanel_.ShowAllSegments();
}

}  // namespace z5r

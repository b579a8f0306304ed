// The controller's parameter summary: each line from the record and from the
// controls as the controller itself shows them, never read from the window.
#include "model/main_controller.h"

namespace z5r {

SSummaryState CMainController::SummaryState() const {
    SSummaryState s;
    s.connected = state_.connectedFlag;
    s.settingsLocked = state_.settingsLocked;
    s.runModeEnabled = enabled_.Enabled(EControl::RunModeCB);
    s.dwellEnabled = edits_[eiDwell].enabled;
    s.attStrategyEnabled = enabled_.Enabled(EControl::AttStrategyCB);
    s.rgFreqEnabled = enabled_.Enabled(EControl::RGFreqCB);
    s.dwell = {edits_[eiDwell].value, editPowers_[eiDwell]};
    // The ceiling's unit has no prefixes to pick.
    s.powLimit = {shown_.powLimit, std::nullopt};
    s.syncTime = {edits_[eiSyncTime].value, editPowers_[eiSyncTime]};
    return s;
}

void CMainController::RefreshSummaryLine(ESummaryLine line) {
    if (line < 0 || line >= kSummaryLineCount) return;
    std::string value = SummaryValue(line, profile_, SummaryState());
    std::optional<std::string>& shown = summaryShown_[static_cast<std::size_t>(line)];
    if (shown == value) return;
    view_.ShowSummaryLine(line, value);
    shown = std::move(value);
}

void CMainController::RefreshSummary() {
    for (int line = 0; line < kSummaryLineCount; ++line) RefreshSummaryLine(static_cast<ESummaryLine>(line));
}

void CMainController::EditUnitPicked(int index, int power) {
    if (!IsTableEdit(index)) return;
    editPowers_[static_cast<std::size_t>(index)] = power;
    if (index == eiDwell) RefreshSummaryLine(slDwell);
    if (index == eiSyncTime) RefreshSummaryLine(slSyncTime);
}

void CMainController::ShowExtRef(bool checked, bool rgFreqEnabled) {
    enabled_.Set(EControl::RGFreqCB, rgFreqEnabled);
    view_.ShowExtRef(checked, rgFreqEnabled);
}

}  // namespace z5r

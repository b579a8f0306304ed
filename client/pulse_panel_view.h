// TMain's pulse modulation panel as the controller's pulse panel sees it: the
// selector, the periodic edits and the packet button hand their events to
// CPulsePanel, which tells this view what to show.
#pragma once

#include "model/pulse_panel.h"
#include "model/pulse_window.h"

namespace z5r {

class TMain;

class TPulsePanelView final : public IPulseWindow {
public:
    // Binds the panel's controls of `main`, which outlives the view.
    explicit TPulsePanelView(TMain& main);
    ~TPulsePanelView() override;
    TPulsePanelView(const TPulsePanelView&) = delete;
    TPulsePanelView& operator=(const TPulsePanelView&) = delete;

    // IPulseWindow
    void ShowPulseMode(int item) override;
    void ShowOperatingMode(int item) override;
    void RunOperatingModeChange() override;
    void ConfirmEdit(int edit) override;
    void MarkPeriodicEditsChanged() override;
    void ShowPacketPeriodTooShort(bool tooShort) override;
    IPacketEditorDialog* PacketEditor() override;

private:
    CPulsePanel& Panel();

    TMain& main_;
};

}  // namespace z5r

// The main window's controller as the profile panel's host: the current
// record, the flags, the working packet and list, and applying the record.
#pragma once

#include "model/profile_panel.h"

namespace z5r {

class CMainController;

class CControllerProfileHost final : public IProfilePanelHost {
public:
    explicit CControllerProfileHost(CMainController& controller) : controller_(controller) {}
    bool SettingsLocked() const override;
    bool SecureMark() const override;
    bool Connected() const override;
    bool SecureInstrument() const override;
    SProfile& Current() override;
    const std::vector<SPulse>& WorkingPacket() const override;
    const std::vector<SListPoint>& WorkingList() const override;
    int AttStrategyShown() const override;
    void ApplyCurrentSettings() override;

private:
    CMainController& controller_;
};

}  // namespace z5r

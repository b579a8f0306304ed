#include "model/profile_panel_host.h"

#include "model/main_controller.h"

namespace z5r {

bool CControllerProfileHost::SettingsLocked() const { return controller_.State().settingsLocked; }

bool CControllerProfileHost::SecureMark() const {
    return controller_.State().settingsLocked || controller_.State().superuserIn;
}

bool CControllerProfileHost::Connected() const { return controller_.State().connectedFlag; }

bool CControllerProfileHost::SecureInstrument() const { return controller_.State().superuserMenu; }

SProfile& CControllerProfileHost::Current() { return controller_.Profile(); }

const std::vector<SPulse>& CControllerProfileHost::WorkingPacket() const { return controller_.Pulses().Packet(); }

const std::vector<SListPoint>& CControllerProfileHost::WorkingList() const { return controller_.ListPanel().Segments(); }

int CControllerProfileHost::AttStrategyShown() const { return controller_.AttStrategyShown(); }

void CControllerProfileHost::ApplyCurrentSettings() { controller_.ApplyCurrentSettings(); }

}  // namespace z5r

// The main window's flags and limits: what it knows about the connection, the
// lock of the settings and the start-up arguments, apart from its widgets.
#pragma once

#include <string>

#include "core/control_ranges.h"

namespace z5r {

struct SMainState {
    std::string startAddress;                // "-a": connect there first
    std::string startProfileArg;             // "-p": kept, no further effect
    std::string currentAddress = "127.0.0.1";  // last successful connection, for reconnecting
    bool firstConnect = true;     // the dialog's automatic connection is still allowed
    bool formShown = false;       // parameter coupling does nothing before
    bool rfEnabled = false;
    bool connectedFlag = false;
    bool settingsLocked = true;   // secure mode without superuser, and before the first connection
    bool superuserMenu = false;   // the superuser submenu is enabled
    bool superuserIn = false;
    bool attStrategyOk = false;   // the instrument accepts the attenuator strategy
    bool hasPulseModUi = false;   // pulse modulation controls are offered
    bool controlsOff = true;      // setting controls disabled: not connected, or locked
    bool uiRefresh = false;       // controls are being filled from the record
    SInstrumentLimits limits;
};

}  // namespace z5r

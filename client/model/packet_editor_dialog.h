// The packet editor as the main window's pulse panel opens it.
#pragma once

#include <vector>

#include "core/pulse.h"

namespace z5r {

class IPacketEditorDialog {
public:
    virtual ~IPacketEditorDialog() = default;
    // Edits a copy of `packet` and its period with `minPulse` as the shortest
    // duration and pause; when the operator accepts, both take the edited
    // values. Returns whether the packet was accepted.
    virtual bool EditPacket(std::vector<SPulse>& packet, double& packetPeriod, double minPulse) = 0;
};

}  // namespace z5r

// The main window's pulse panel: the pulse-mode selector, the periodic edits
// while typed and confirmed, the packet period and the packet editor, and the
// sends that put pulse modulation into the instrument or switch it off. It
// owns the working packet. The values of the panel's edits are handed in as
// the window shows them; what changes goes back through the view.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/pulse.h"
#include "model/pulse_rules.h"

namespace z5r {

class CMainController;
class IMainView;
class IPulseWindow;

// What the panel's four edits show.
struct SPulseEdits {
    double tau = 0.0;
    double period = 0.0;
    double q = 0.0;
    double periodPacket = 0.0;
};

// What choosing a pulse mode leads to, once a session with pulse modulation
// is open.
enum class EPulseModeStep {
    Stop,              // modulation off
    AskForFixedMode,   // pulses run only at a fixed frequency and power: ask
    ConfirmPeriodic,   // the duration's confirmation sends the periodic pulses
    ConfirmPacket,     // the packet period's confirmation sends the packet
    ReportNoPacket,    // modulation off and "Пачка радиоимпульсов не задана"
    ExternalSource,    // the external modulation input takes over
};
EPulseModeStep PulseModeStep(int pulseMode, int operatingMode, bool packetEmpty);

// Whether the periodic and the packet group boxes are usable.
struct SPulseGroups {
    bool periodic = false;
    bool packet = false;

    friend bool operator==(const SPulseGroups&, const SPulseGroups&) = default;
};
SPulseGroups PulseGroupsEnabled(int pulseMode, bool controlsOff);

// The question asked when a pulse mode is chosen outside the fixed mode.
std::string FixedModeQuestion();

enum class EPulseSend { Periodic, Packet };

class CPulsePanel {
public:
    CPulsePanel(CMainController& controller, IMainView& view);

    // Without a window the selectors, the colour and the editor are not shown
    // and the packet editor cannot be opened.
    void SetWindow(IPulseWindow* window) { window_ = window; }

    const std::vector<SPulse>& Packet() const { return packet_; }
    void SetPacket(std::vector<SPulse> packet) { packet_ = std::move(packet); }

    // ---- handlers -------------------------------------------------------------
    void PMModeCBChange(int chosen);
    // Typing in the duration, period or duty-factor edit.
    void PulseEditChange(int edit, const SPulseEdits& shown);
    // The main window's confirmation reached one of the four pulse edits with
    // every edit within its limits.
    void PulseEditConfirmed(int edit, const SPulseEdits& shown);
    void PacketParamsButtonClick(double periodPacketShown);
    // The operating mode changed: a pulse mode outside the fixed mode is
    // questioned.
    void OperatingModeChanged();

    // ---- operations -----------------------------------------------------------
    void SendPulseModulation(EPulseSend what, const SPulseEdits& shown);
    void StopPulseModulation();

private:
    void ConfirmPeriodic(EPulseEdit edit, const SPulseEdits& shown);
    void ConfirmPacketPeriod(double periodPacket);
    void AskForFixedMode();
    void ReportNoPacket();
    void ShowGroups();
    void Write(int edit, double value);
    // The values the rules start from: the edits', or the record's while the
    // settings are locked (the edits then show no numbers).
    SPulseEdits Values(const SPulseEdits& shown) const;
    bool Locked() const;
    bool Usable() const;

    CMainController& controller_;
    IMainView& view_;
    IPulseWindow* window_ = nullptr;
    std::vector<SPulse> packet_;
};

}  // namespace z5r

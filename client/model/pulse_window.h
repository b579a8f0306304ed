// What the pulse panel asks of the main window beyond its view: the two
// selectors, the main window's confirmation of an entry, the marks and the
// colour of the pulse edits, and the packet editor.
#pragma once

namespace z5r {

class IPacketEditorDialog;

class IPulseWindow {
public:
    virtual ~IPulseWindow() = default;
    // A selector shows an item without running its handler.
    virtual void ShowPulseMode(int item) = 0;
    virtual void ShowOperatingMode(int item) = 0;
    // The operating-mode selector's handler, as if the operator had chosen
    // the item it shows.
    virtual void RunOperatingModeChange() = 0;
    // The main window's confirmation of the edit of the table `edit`: the
    // range check of every edit first, then its send.
    virtual void ConfirmEdit(int edit) = 0;
    // The duration, period and duty-factor edits carry the changed mark.
    virtual void MarkPeriodicEditsChanged() = 0;
    // The packet-period edit is coloured as too short for the packet, or not.
    virtual void ShowPacketPeriodTooShort(bool tooShort) = 0;
    // The packet editor; nullptr while there is none.
    virtual IPacketEditorDialog* PacketEditor() = 0;
};

}  // namespace z5r

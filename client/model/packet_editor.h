// The pulse packet editor's rules: its copy of the packet, the selection, the
// three pulse edits and the packet period, the list actions, the files, the
// summary and the questions on leaving. The dialog shows what this decides
// and passes every event of its controls here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/pulse.h"
#include "model/pulse_rules.h"
#include "ui/prompt.h"

namespace z5r {

// What the list actions may do now.
struct SPacketActionStates {
    bool edit = false;  // apply, up and down: exactly one row selected
    bool up = false;
    bool down = false;
    bool remove = false;  // a row selected
    bool selectAll = false;  // the list has rows: tick and untick all, new, save
    bool deselectAll = false;
    bool newList = false;
    bool save = false;

    friend bool operator==(const SPacketActionStates&, const SPacketActionStates&) = default;
};

struct SPacketSummary {
    double totalDuration = 0.0;  // s
    bool tooShort = false;       // the packet period edit is red, OK does not close
    std::string durationText;    // status panel 0
    std::string warningText;     // status panel 1

    friend bool operator==(const SPacketSummary&, const SPacketSummary&) = default;
};

// The dialog as the editor drives it. Rows are shown from the pulses; every
// edit is written quietly (without its change notification); nothing here
// reports back as an event.
class IPacketEditorView {
public:
    virtual ~IPacketEditorView() = default;
    // Clears the list and writes one row per pulse.
    virtual void ShowAllRows(const std::vector<SPulse>& packet) = 0;
    // Rewrites row `index`, or appends it when it is the row count.
    virtual void ShowRow(std::size_t index, const SPulse& pulse) = 0;
    virtual void ShowSelection(const std::vector<std::size_t>& rows) = 0;
    virtual void ShowPulseEdit(EPulseEdit edit, double value) = 0;
    virtual void ShowPacketPeriod(double period) = 0;
    virtual void ShowSummary(const SPacketSummary& summary) = 0;
    virtual void ShowActionStates(const SPacketActionStates& states) = 0;
};

// Which file action: replace the list, or add the file's pulses to it.
enum class EPacketOpen { Replace, Append };

class CPacketEditor {
public:
    // Values of the three pulse edits while no row is selected.
    static constexpr SPulseValues kDefaultPulseValues{1e-6, 1e-5, 10.0};

    CPacketEditor(IPacketEditorView& view, IPrompt& prompt);

    // Starts an editing session with a copy of `packet`, its period and the
    // shortest duration and pause.
    void Begin(const std::vector<SPulse>& packet, double packetPeriod, double minPulse);

    // ---- events of the dialog ----------------------------------------------
    // The operator changed the selection of the list to `rows`.
    void SelectionChanged(std::vector<std::size_t> rows);
    void PulseEditChanged(EPulseEdit edit, double value);
    void PulseEditConfirmed(EPulseEdit edit, double value);
    void PacketPeriodChanged(double period);
    // The check box of `row` was ticked or cleared by the operator.
    void RowTicked(std::size_t row, bool ticked);

    void Add();
    void Apply();
    void Delete();
    void MoveUp();
    void MoveDown();
    void TickAll();
    void UntickAll();
    void NewList();
    void Open(EPacketOpen how);
    void Save();
    // OK pressed: whether the dialog closes (accepted).
    bool Ok();
    // The dialog is being left otherwise (Cancel, the close box, Escape):
    // whether it may close.
    bool CloseQuery();

    // ---- state ---------------------------------------------------------------
    const std::vector<SPulse>& Packet() const { return packet_; }
    double PacketPeriod() const { return packetPeriod_; }
    const std::vector<std::size_t>& Selection() const { return selection_; }
    const SPulseValues& PulseValues() const { return values_; }
    const SPacketSummary& Summary() const { return summary_; }
    const SPacketActionStates& ActionStates() const { return actions_; }
    bool Modified() const { return modified_; }
    bool Accepted() const { return accepted_; }
    bool PulseInvalid() const { return pulseInvalid_; }

private:
    bool SingleSelection() const { return selection_.size() == 1; }
    // The selection changed: the edits and the actions follow it.
    void FollowSelection();
    void RefreshActionStates();
    void Select(std::vector<std::size_t> rows);
    void SetPulseValues(const SPulseValues& values);
    void RefreshSummary();
    void RefreshTooShort();
    // Whether the pulse edits can make a pulse; says why not otherwise.
    bool CheckPulseValues();
    SPulse PulseFromEdits(bool used) const;
    void Swap(std::size_t upper);
    void SetAllTicks(bool ticked);
    // Whether unsaved changes may be thrown away (asks when there are any).
    bool MayDiscard();
    void ShowError(const char* text);

    IPacketEditorView& view_;
    IPrompt& prompt_;

    std::vector<SPulse> packet_;
    std::vector<std::size_t> selection_;  // ascending
    SPulseValues values_ = kDefaultPulseValues;
    double packetPeriod_ = 0.0;
    double minPulse_ = kShortestPulseWidth;
    SPacketSummary summary_;
    SPacketActionStates actions_;
    bool modified_ = false;
    bool accepted_ = false;
    bool pulseInvalid_ = false;
};

}  // namespace z5r

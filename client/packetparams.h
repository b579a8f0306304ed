// TPacketParamsForm: the pulse packet editor. A modal dialog, created once and
// passed through the catalogue; the rules are CPacketEditor's, the dialog
// shows what it decides and hands it every event of its controls.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "core/pulse.h"
#include "model/packet_editor.h"
#include "model/packet_editor_dialog.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvel {
class TKvSpinEdit;
}

namespace z5r {

class IPrompt;

class TPacketParamsForm : public QDialog, public IPacketEditorDialog, private IPacketEditorView {
    Q_OBJECT
public:
    explicit TPacketParamsForm(IPrompt& prompt, QWidget* parent = nullptr);

    // Edits a copy of `packet` and its period with `minPulse` as the shortest
    // duration and pause; when the operator accepts, both take the edited
    // values. Returns whether the packet was accepted.
    bool EditPacket(std::vector<SPulse>& packet, double& packetPeriod, double minPulse) override;

    // The first step of EditPacket without showing the dialog.
    void Load(const std::vector<SPulse>& packet, double packetPeriod, double minPulse);
    const CPacketEditor& Editor() const { return editor_; }

    // Shows the dialog modally and returns its result; exec() unless set
    // (tests answer it themselves).
    void SetRunModal(std::function<int(QDialog&)> runModal) { runModal_ = std::move(runModal); }

    // ---- handlers --------------------------------------------------------------
    void NewActionExecute() { editor_.NewList(); }
    void OpenActionExecute(EPacketOpen how) { editor_.Open(how); }
    void SaveActionExecute() { editor_.Save(); }
    void AddActionExecute() { editor_.Add(); }
    void EditActionExecute() { editor_.Apply(); }
    void DeleteActionExecute() { editor_.Delete(); }
    void UpActionExecute() { editor_.MoveUp(); }
    void DownActionExecute() { editor_.MoveDown(); }
    void SelAllActionExecute() { editor_.TickAll(); }
    void DeselAllActionExecute() { editor_.UntickAll(); }
    void PacketLVSelectItem();
    void PacketLVItemChecked(QTreeWidgetItem* item, int column);
    // Delete removes the selected rows; whether the key was used.
    bool PacketLVKeyDown(const QKeyEvent& key);
    void EditChange(korvel::TKvSpinEdit* sender);
    void EditValidate(korvel::TKvSpinEdit* sender);
    void PeriodPacketEditChange(korvel::TKvSpinEdit* sender);
    void OkButtonClick();

    // ---- controls --------------------------------------------------------------
    QTreeWidget* PacketLV = nullptr;
    korvel::TKvSpinEdit* TauEdit = nullptr;
    korvel::TKvSpinEdit* PeriodEdit = nullptr;
    korvel::TKvSpinEdit* QEdit = nullptr;
    korvel::TKvSpinEdit* PeriodPacketEdit = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QStatusBar* Status = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QMenu* PacketPopupMenu = nullptr;

    QAction* NewAction = nullptr;
    QAction* OpenAction = nullptr;
    QAction* OpenAndAddAction = nullptr;
    QAction* SaveAction = nullptr;
    QAction* AddAction = nullptr;
    QAction* EditAction = nullptr;
    QAction* DeleteAction = nullptr;
    QAction* UpAction = nullptr;
    QAction* DownAction = nullptr;
    QAction* SelAllAction = nullptr;
    QAction* DeselAllAction = nullptr;

protected:
    // Cancel, Escape and the close box: the close query decides.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildActions();
    QWidget* BuildEdits();
    void BindHandlers();
    EPulseEdit PulseEditOf(const korvel::TKvSpinEdit* edit) const;
    korvel::TKvSpinEdit* EditOf(EPulseEdit edit) const;
    // Sets an edit's value without its change notification.
    void SetQuietly(korvel::TKvSpinEdit* edit, double value);
    void WriteRow(QTreeWidgetItem* item, std::size_t index, const SPulse& pulse);

    // IPacketEditorView
    void ShowAllRows(const std::vector<SPulse>& packet) override;
    void ShowRow(std::size_t index, const SPulse& pulse) override;
    void ShowSelection(const std::vector<std::size_t>& rows) override;
    void ShowPulseEdit(EPulseEdit edit, double value) override;
    void ShowPacketPeriod(double period) override;
    void ShowSummary(const SPacketSummary& summary) override;
    void ShowActionStates(const SPacketActionStates& states) override;

    CPacketEditor editor_;
    std::function<int(QDialog&)> runModal_;
    // Rows and ticks written by the program are no operator's changes.
    bool refreshing_ = false;
};

}  // namespace z5r

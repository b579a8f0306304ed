// TMain: the main window. One class; its implementation is split by concern:
//   gui_main.cpp             construction, window events, ending the program
//   gui_main_actions.cpp     actions, menus, tool bar, status bar
//   gui_main_views.cpp       left area: readouts, parameter summary, list tab, profiles
//   gui_main_panels.cpp      control column: the six roll-up panels and their controls
//   gui_main_edits.cpp       the numeric-edit table
//   gui_main_view_modes.cpp  compact / full view, panel visibility
//   gui_main_connection.cpp  the connect action, the dialog, the status bar
//   gui_main_poll.cpp        what the status poll shows, its timer
//   gui_main_apply.cpp       enabled state and values of the setting controls
//   gui_main_summary.cpp     the parameter summary lines
//   gui_main_help.cpp        the about window and the maker's web site
//   pulse_panel_view.cpp     the pulse modulation panel (TPulsePanelView)
// The connection, the poll, the reconnection, the setting controls' handlers,
// the edits' coupling, the sends and applying the record are decided by
// CMainController (client/model); the window is its view. The summary lines
// still run here.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/profile.h"
#include "model/main_state.h"
#include "model/control_states.h"
#include "model/edit_table.h"
#include "model/edit_validation.h"
#include "model/main_controller.h"
#include "model/main_view.h"
#include "model/parameter_summary.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QGroupBox;
class QWindow;

namespace korvel {
class TFormConnect;
class TKvIndicator;
class TKvLabel;
class TKvPageScroller;
class TKvRollPanel;
class TKvSpinEdit;
}  // namespace korvel

namespace z5r {

class CDevice;
class IPrompt;
class TRadioGroup;
class TListEditorForm;
class TProfCommentForm;
class TPacketParamsForm;
class TChangePassForm;
class TPassForm;
class TPulsePanelView;

// What the main window is given by the entry point (and by tests).
struct STMainOptions {
    IPrompt* prompt = nullptr;           // every question and message; required
    std::vector<std::string> arguments;  // the command line without the program name
    // Shows a dialog modally and returns its result; QDialog::exec when empty.
    std::function<int(QDialog&)> runModal;
    // Ends the program; QCoreApplication::quit when empty.
    std::function<void()> requestTerminate;
    // Reports the start arguments on standard error once they are read.
    bool diagnostics = false;
};

// The dialogs the entry point creates after the main window.
struct SDialogs {
    TListEditorForm* listEditor = nullptr;
    TProfCommentForm* profComment = nullptr;
    TPacketParamsForm* packetParams = nullptr;
    TChangePassForm* changePass = nullptr;
    TPassForm* pass = nullptr;
};

class TMain : public QMainWindow, private IMainView {
    Q_OBJECT
    friend class TPulsePanelView;

public:
    explicit TMain(STMainOptions options, QWidget* parent = nullptr);
    ~TMain() override;
    TMain(const TMain&) = delete;
    TMain& operator=(const TMain&) = delete;

    void SetDialogs(const SDialogs& dialogs) { dialogs_ = dialogs; }
    const SDialogs& Dialogs() const { return dialogs_; }

    const SMainState& State() const { return controller_.State(); }
    const SProfile& CurrentProfile() const { return controller_.Profile(); }
    CMainController& Controller() { return controller_; }

    // The numeric-edit table (edtStart … PeriodPacketEdit); nullptr outside it.
    korvel::TKvSpinEdit* Edit(int index) const;
    int EditIndex(const korvel::TKvSpinEdit* edit) const;

    // ---- window events ----------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormActivate();

    // ---- connection ---------------------------------------------------------
    void ConnectActionExecute();
    void ConnectTo(const QString& address);
    void DisconnectActionExecute() { controller_.DisconnectActionExecute(); }
    // The connection dialog, built when first needed: a connection to the
    // address given at start never needs it.
    korvel::TFormConnect* ConnectDialog();
    // The status poll (Timer1's tick, also called directly by tests).
    void Timer1Timer() { controller_.Timer1Timer(); }

    // ---- ending -------------------------------------------------------------
    void ExitActionExecute();

    // ---- settings controls ----------------------------------------------------
    void SetControlsState(bool connected) { controller_.SetControlsState(connected); }

    // ---- views ----------------------------------------------------------------
    void CompactViewActionExecute();
    void FullViewActionExecute();
    void HideAllActionExecute();
    void RestoreAllActionExecute();
    void AboutActionExecute();
    void AddressActionExecute();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // construction (gui_main_actions.cpp)
    void BuildActions();
    void BuildListActions();
    void BuildProfileActions();
    void BuildMenus();
    void BuildToolBar(QWidget* parent);
    void BuildStatusBar();
    // (gui_main_views.cpp)
    QWidget* BuildLeftArea();
    QWidget* BuildReadouts();
    QWidget* BuildSummary();
    QWidget* BuildListTab();
    QWidget* BuildProfileGroup();
    // (gui_main_panels.cpp)
    QWidget* BuildRightArea();
    korvel::TKvRollPanel* BuildControlPanel();
    korvel::TKvRollPanel* BuildFreqPanel();
    korvel::TKvRollPanel* BuildPowPanel();
    korvel::TKvRollPanel* BuildSyncPanel();
    korvel::TKvRollPanel* BuildRefPanel();
    korvel::TKvRollPanel* BuildPulsePanel();
    void OrderPanels();
    void FitColumnToWidth();
    // (gui_main_edits.cpp)
    korvel::TKvSpinEdit* MakeEdit(const char* name, QWidget* parent);
    void BuildEditTable();
    // (gui_main_view_modes.cpp)
    std::array<korvel::TKvRollPanel*, 6> Panels() const;
    void PanelToggled(int index, bool visible);
    void SetTitleButtons(bool maximize);
    void ShowInstrumentIdentity(bool show);
    // (gui_main_apply.cpp)
    SControlInputs ControlInputs(bool connected) const;
    void SetControlEnabled(const char* name, bool enabled);
    // What a control name stands for, looked up in the widget tree once.
    struct SControlTarget {
        QPointer<QAction> action;
        QPointer<QWidget> widget;
        QPointer<QLabel> label;  // a combo box's label follows it
    };
    const SControlTarget& ControlTarget(const char* name);
    // (gui_main_handlers.cpp)
    void FreqFullRangeBClick() { controller_.FreqFullRangeBClick(); }
    void PowFullRangeBClick() { controller_.PowFullRangeBClick(); }
    void AllowLimitPowerCBClick();
    void WireSettingControls();
    void ModeCBChange();
    void TriggerModeCBChange();
    void RunModeCBChange();
    void LinLogRGClick();
    void EnableRFActionExecute() { controller_.EnableRFActionExecute(); }
    void SwitchRfOff() { controller_.SwitchRfOff(); }
    void SyncOutModeCBChange();
    void SyncOutCBClick();
    void SyncInCBClick();
    void EPCCBClick();
    void ERGCBClick();
    void AttStrategyCBChange();
    void RGFreqCBChange();
    void RefreshPanels() { controller_.RefreshPanels(); }
    // (gui_main_summary.cpp)
    QTreeWidgetItem* SummaryItem(int line) const;
    void TranslateSummaryCaptions();
    // (gui_main.cpp)
    int RunModal(QDialog& dialog);
    void RequestTerminate() override;
    void FocusWindowChanged(QWindow* now);
    void RunConnectOnActivation();
    // The view of the controller (gui_main_connection.cpp, gui_main_poll.cpp,
    // gui_main_sends.cpp).
    void ShowConnected(const SInstrumentIdentity& instrument) override;
    void ShowDisconnected() override;
    void ShowRfButton(bool pressed) override;
    void ShowInstrumentError(const std::string& text) override;
    void ShowIndicator(EIndicator indicator, bool active) override;
    void ShowRfOutput(bool enabled) override;
    void ShowRfRadiating(bool radiating) override;
    void ShowStateImages(const SStateImages& images) override;
    void ShowExtRef(bool checked, bool rgFreqEnabled) override;
    void ShowPulsePanel(bool show) override;
    void ShowSweepProgress(int position) override;
    void ShowSweepProgressMaximum(int points) override;
    void ShowFixedReadouts(double frequency, double level) override;
    void ShowReadout(EReadout readout, double value) override;
    void ShowEditRanges(const EditRanges& ranges, const SControlRange& ceiling) override;
    void ShowEnabledStates(const CControlStates& states, bool phaseDelayEnabled) override;
    void ShowControlEnabled(EControl control, bool enabled) override { SetControlEnabled(ControlName(control), enabled); }
    void ShowSuperuserMenu(bool enabled) override;
    void ShowControlValues(const SDisplayedControls& shown) override;
    void ShowEditValue(int edit, double value) override;
    void ShowEditChanged(int edit, bool changed) override;
    void RememberEditValue(int edit) override;
    void ShowPowerCeiling(bool on, double limit) override;
    void ShowEditSteps(const SEditSteps& steps) override;
    void ShowSelection(ESelector selector, int index) override;
    void ShowChecked(ECheck box, bool checked) override;
    void StartPoll() override;
    void StopPoll() override;
    void ShowSummaryLine(ESummaryLine line, const std::string& value) override;

    STMainOptions options_;
    SDialogs dialogs_;
    CMainController controller_;
    // The controller's, under the names the window's handlers use.
    IPrompt& prompt_;
    SMainState& state_;
    SProfile& profile_;
    korvel::TFormConnect* connectDialog_ = nullptr;  // see ConnectDialog()
    int connectionShown_ = 0;  // the korvel::EConnectionState last shown
    std::array<korvel::TKvSpinEdit*, kEditCount> edits_{};
    bool connectActionRunning_ = false;
    // The program's window that had the focus last (nullptr: none of ours).
    QPointer<QWindow> focusWindow_;
    std::unordered_map<std::string, SControlTarget> controlTargets_;
    std::unique_ptr<TPulsePanelView> pulsePanelView_;

public:
    // ---- controls, named as in the window's description ----------------------
    // Actions and menus.
    QAction* ConnectAction = nullptr;
    QAction* DisconnectAction = nullptr;
    QAction* EnableRFAction = nullptr;
    QAction* HandModeStepAction = nullptr;
    QAction* PassSuperuserAction = nullptr;
    QAction* ChangePassSuperuserAction = nullptr;
    QAction* ExitSupermodeAction = nullptr;
    QAction* ExitAction = nullptr;
    QAction* NewProfileListAction = nullptr;
    QAction* OpenProfileListAction = nullptr;
    QAction* SaveProfileListAction = nullptr;
    QAction* AddProfileAction = nullptr;
    QAction* UpdateProfileAction = nullptr;
    QAction* EditProfileAction = nullptr;
    QAction* DelProfileAction = nullptr;
    QAction* ApplyProfileAction = nullptr;
    QAction* DefaultProfileAction = nullptr;
    QAction* CompactViewAction = nullptr;
    QAction* FullViewAction = nullptr;
    QAction* HideAllAction = nullptr;
    QAction* RestoreAllAction = nullptr;
    std::array<QAction*, 6> PanelToggles{};  // "Вид" → "Вкладки", one per roll-up panel
    QAction* HelpAction = nullptr;
    QAction* AboutDeviceAction = nullptr;
    QAction* AboutAction = nullptr;
    QAction* AddressAction = nullptr;
    QAction* NewListAction = nullptr;
    QAction* OpenListAction = nullptr;
    QAction* OpenListAndAddAction = nullptr;
    QAction* SaveListAction = nullptr;
    QAction* AddLineAction = nullptr;
    QAction* EditLineAction = nullptr;
    QAction* DeleteLineAction = nullptr;
    QAction* UpLineAction = nullptr;
    QAction* DownLineAction = nullptr;
    QAction* SelAllAction = nullptr;
    QAction* DeselAllAction = nullptr;
    QMenu* ControlMenu = nullptr;
    QMenu* SuperuserMenu = nullptr;
    QMenu* ProfileMenu = nullptr;
    QMenu* ViewMenu = nullptr;
    QMenu* TabsMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QMenu* ListPopupMenu = nullptr;
    QMenu* ProfPopupMenu = nullptr;
    QToolBar* ToolBar = nullptr;

    // The status poll: every 1000 ms while an instrument is connected.
    QTimer* Timer1 = nullptr;

    // Status bar.
    QLabel* NameLabelItem = nullptr;
    QLabel* SNLabelItem = nullptr;
    QLabel* IPLabelItem = nullptr;
    QLabel* ConnectLabelItem = nullptr;
    QLabel* SVCHLabelItem = nullptr;
    // The last error the instrument reported, in the driver's words.
    QLabel* ErrorLabelItem = nullptr;
    QProgressBar* SweepPB = nullptr;

    // Left area.
    QWidget* LeftPanel = nullptr;
    QTabWidget* PageControl = nullptr;
    korvel::TKvLabel* F0Label = nullptr;
    korvel::TKvLabel* F1Label = nullptr;
    korvel::TKvLabel* F2Label = nullptr;
    korvel::TKvLabel* P0Label = nullptr;
    korvel::TKvLabel* P1Label = nullptr;
    korvel::TKvLabel* P2Label = nullptr;
    korvel::TKvIndicator* CaptureInd = nullptr;
    korvel::TKvIndicator* LevelInd = nullptr;
    korvel::TKvIndicator* PowInd = nullptr;
    QLabel* ModeImage = nullptr;
    QLabel* TriggerImage = nullptr;
    QTreeWidget* ParamsLV1 = nullptr;
    QTreeWidget* ParamsLV2 = nullptr;
    QTreeWidget* ListLV = nullptr;
    QGroupBox* ProfilesGroupBox = nullptr;
    QTreeWidget* ProfLV = nullptr;

    // Control column.
    QWidget* RightPanel = nullptr;
    korvel::TKvPageScroller* ControlPS = nullptr;
    korvel::TKvRollPanel* ControlPan = nullptr;
    korvel::TKvRollPanel* FreqPan = nullptr;
    korvel::TKvRollPanel* PowPan = nullptr;
    korvel::TKvRollPanel* SyncPan = nullptr;
    korvel::TKvRollPanel* OGPan = nullptr;
    korvel::TKvRollPanel* PMPan = nullptr;

    QLabel* ModeLabel = nullptr;
    QComboBox* ModeCB = nullptr;
    QLabel* TriggerModeLabel = nullptr;
    QComboBox* TriggerModeCB = nullptr;
    QLabel* RunModeLabel = nullptr;
    QComboBox* RunModeCB = nullptr;
    korvel::TKvSpinEdit* DwellEdit = nullptr;

    korvel::TKvSpinEdit* edtStart = nullptr;
    korvel::TKvSpinEdit* edtStop = nullptr;
    korvel::TKvSpinEdit* edtCenter = nullptr;
    korvel::TKvSpinEdit* edtSpan = nullptr;
    korvel::TKvSpinEdit* edtPoints = nullptr;
    TRadioGroup* LinLogRG = nullptr;
    QPushButton* FreqFullRangeB = nullptr;

    korvel::TKvSpinEdit* PowStart = nullptr;
    korvel::TKvSpinEdit* PowStop = nullptr;
    korvel::TKvSpinEdit* PowCenter = nullptr;
    korvel::TKvSpinEdit* PowSpan = nullptr;
    korvel::TKvSpinEdit* PowPoints = nullptr;
    QPushButton* PowFullRangeB = nullptr;
    QCheckBox* AllowLimitPowerCB = nullptr;
    korvel::TKvSpinEdit* PowLimit = nullptr;
    QLabel* AttStrategyLabel = nullptr;
    QComboBox* AttStrategyCB = nullptr;
    QCheckBox* EPCCB = nullptr;

    QLabel* SyncOutModeLabel = nullptr;
    QComboBox* SyncOutModeCB = nullptr;
    korvel::TKvSpinEdit* SyncTimeEdit = nullptr;
    QCheckBox* SyncOutCB = nullptr;
    QCheckBox* SyncInCB = nullptr;
    korvel::TKvSpinEdit* PhaseDelayEdit = nullptr;

    QCheckBox* ERGCB = nullptr;
    QLabel* RGFreqLabel = nullptr;
    QComboBox* RGFreqCB = nullptr;

    QLabel* PMModeLabel = nullptr;
    QComboBox* PMModeCB = nullptr;
    QGroupBox* SingleModGroupBox = nullptr;
    korvel::TKvSpinEdit* TauSingleEdit = nullptr;
    korvel::TKvSpinEdit* PeriodSingleEdit = nullptr;
    korvel::TKvSpinEdit* QSingleEdit = nullptr;
    QGroupBox* PacketModGroupBox = nullptr;
    korvel::TKvSpinEdit* PeriodPacketEdit = nullptr;
    QPushButton* PacketParamsButton = nullptr;
};

}  // namespace z5r

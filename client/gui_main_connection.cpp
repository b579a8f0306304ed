// TMain: the connect and disconnect actions, the connection dialog and the
// connection procedure.
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QString>
#include <QTimer>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "core/paths.h"
#include "core/z5r_device.h"
#include "gui_main.h"
#include "korvel/components/form_connect.h"
#include "korvel/components/kv_indicator.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

// Test and diagnostic seam: Z5R_INSTRUMENT_PORT=<1..65535> makes the window
// connect to that port instead of the instrument's own (8888), so tests can
// run the simulated instrument on a free port. The product never sets it.
int InstrumentPort() {
    const char* text = std::getenv("Z5R_INSTRUMENT_PORT");
    if (text == nullptr) return kInstrumentPort;
    int port = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, port);
    if (error != std::errc() || stop != end || port < 1 || port > 65535) return kInstrumentPort;
    return port;
}

std::string Trimmed(std::string text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The dialog's settings file: in the configuration folder, first copied from
// the program folder; empty when the folders cannot be made.
std::string PrepareConnectSettingsFile() {
    if (EnsureDir(GetVxDir(dirVendor)) != 0 || EnsureDir(GetVxDir(dirConfig)) != 0) return {};
    const std::string file = GetConfigFileName();
    CopyIfMissing(file, GetVxDir(dirApplication) + "/config.xml");
    return file;
}

// Seam: the operator's profile file is read here once profile files exist;
// until then the current record stays as the window holds it.
void LoadOperatorSettings(SProfile& /*current*/) {}

// Seam: the current record is written to the operator's profile file as its
// last profile once profile files exist.
void SaveOperatorSettings(const SProfile& /*current*/) {}

QString Text(const char* key) { return QString::fromStdString(Tr(key)); }

}  // namespace

void TMain::ConnectActionExecute() {
    if (connectActionRunning_) return;
    connectActionRunning_ = true;

    const std::string settingsFile = PrepareConnectSettingsFile();
    if (connectDialog_ == nullptr) {
        connectDialog_ = new korvel::TFormConnect(this, QString::fromStdString(settingsFile),
                                                  QString::fromStdString(Tr("Подключение к прибору Z5R")),
                                                  QStringLiteral("Z5R"));
        connectDialog_->setObjectName(QStringLiteral("FormConnect"));
        connectDialog_->OnConnect = [this](const QString& address) { ConnectTo(address); };
        connectDialog_->SetInterface(QStringLiteral("TCP"));
        connectDialog_->SetSearchName(QStringLiteral("Z5R"));
        connectDialog_->AllowAutoConnect(true);
    }

    if (!state_.startAddress.empty()) {
        const std::string address = state_.startAddress;
        ConnectTo(QString::fromStdString(address));
        state_.startAddress.clear();
    } else if (connectDialog_->AutoConnectEnabled() && !connectDialog_->StoredAddress().isEmpty() &&
               state_.firstConnect) {
        connectDialog_->AutoConnect();
    } else {
        connectDialog_->SetState(korvel::csIdle);
        RunModal(*connectDialog_);
    }
    connectActionRunning_ = false;
}

void TMain::ConnectTo(const QString& address) {
    state_.firstConnect = false;
    const std::string error = OpenConnection(address.toStdString());
    if (error.empty() || connectDialog_ == nullptr) return;
    connectDialog_->Error(QString::fromStdString(error));
    if (!connectDialog_->isVisible()) RunModal(*connectDialog_);
}

std::string TMain::OpenConnection(const std::string& address) {
    // 1. The dialog's answer carries nothing the procedure needs.
    if (connectDialog_ != nullptr) (void)connectDialog_->Connected();

    // 2.
    if (device_ == nullptr) device_ = std::make_unique<CDevice>(prompt_, [this] { RequestTerminate(); });
    if (!device_->IsConnected()) {
        const std::string error = device_->Connect(address, InstrumentPort());
        if (!error.empty()) {
            device_.reset();
            return error;
        }
    }

    // 3.
    state_.connectedFlag = true;
    state_.hasPulseModUi = device_->HasPulseMod();
    state_.superuserMenu = device_->IsSecure();
    state_.settingsLocked = state_.superuserMenu && !state_.superuserIn;

    // 4. Never offered while the settings are locked.
    ShowPulsePanel(state_.hasPulseModUi && !state_.settingsLocked);

    // 5. Read from the session and pushed into the edits' ranges.
    PushInstrumentLimits();

    // 6.
    LoadOperatorSettings(profile_);

    // 7.
    device_->SetLinkLost(false);
    state_.attStrategyOk = device_->ProbeAttStrategy();

    // 8.
    SetControlsState(true);
    state_.currentAddress = address;

    // 9.
    ApplyCurrentSettings();
    // Ending the program from a failure dialog of the application closed the
    // session already; nothing is left to watch.
    if (device_ == nullptr || !device_->IsConnected()) return {};

    // 10.
    ConnectLabelItem->setText(Text("Подключен"));
    IPLabelItem->setText(QStringLiteral("IP: ") + QString::fromStdString(address));
    std::string serial;
    device_->GetSerial(serial);
    SNLabelItem->setText(Text("с/н: ") + QString::fromStdString(Trimmed(serial)));
    std::string name;
    device_->GetName(name);
    NameLabelItem->setText(QString::fromStdString(Trimmed(name)));

    // 11.
    DisconnectAction->setEnabled(true);
    EnableRFAction->setEnabled(true);
    ConnectAction->setEnabled(false);
    if (connectDialog_ != nullptr) {
        connectDialog_->SetState(korvel::csConnected);
        connectDialog_->Initialized();
    }
    connect(Timer1, &QTimer::timeout, this, &TMain::Timer1Timer, Qt::UniqueConnection);
    Timer1->start();
    return {};
}

void TMain::DisconnectActionExecute() {
    // 1.
    if (device_ == nullptr || !device_->IsConnected()) return;

    // 2. A lost link takes no request any more.
    if (!device_->IsLinkLost() && device_->IsRfOn()) SwitchRfOff();

    // 3. The RF-off step may already have closed the session (the operator
    // chose to end the program after a failure); Disconnect is safe either way.
    if (device_ != nullptr) {
        if (device_->IsConnected()) device_->Disconnect();
        device_.reset();
    }

    // 4.
    state_.hasPulseModUi = false;
    ShowPulsePanel(false);
    state_.connectedFlag = false;
    SaveOperatorSettings(profile_);
    state_.superuserMenu = false;
    handStepper_.Reset();
    SweepPB->setValue(0);
    SetControlsState(false);
    RefreshSummary();

    // 5.
    ShowDisconnectedStatus();

    // 6.
    DisconnectAction->setEnabled(false);
    EnableRFAction->setEnabled(false);
    ConnectAction->setEnabled(true);
    Timer1->stop();
    PowInd->SetActive(false);
    LevelInd->SetActive(false);
    CaptureInd->SetActive(false);
    if (connectDialog_ != nullptr) connectDialog_->SetState(korvel::csDisconnected);
}

void TMain::ShowDisconnectedStatus() {
    ConnectLabelItem->setText(Text("Отключен"));
    IPLabelItem->setText(QStringLiteral("IP: ---.---.---.---"));
    // Eight dashes after a connection; the window starts with nine.
    SNLabelItem->setText(Text("с/н: ") + QStringLiteral("--------"));
    NameLabelItem->setText(QStringLiteral("--------"));
}

}  // namespace z5r

// TMain: the connect and disconnect actions, the connection dialog and the
// connection procedure.
#include <QAction>
#include <QLabel>
#include <QString>

#include "core/paths.h"
#include "gui_main.h"
#include "korvel/components/form_connect.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

// The dialog's settings file: in the configuration folder, first copied from
// the program folder; empty when the folders cannot be made.
std::string PrepareConnectSettingsFile() {
    if (EnsureDir(GetVxDir(dirVendor)) != 0 || EnsureDir(GetVxDir(dirConfig)) != 0) return {};
    const std::string file = GetConfigFileName();
    CopyIfMissing(file, GetVxDir(dirApplication) + "/config.xml");
    return file;
}

QString Text(const char* key) { return QString::fromStdString(Tr(key)); }

}  // namespace

korvel::TFormConnect* TMain::ConnectDialog() {
    if (connectDialog_ != nullptr) return connectDialog_;
    const std::string settingsFile = PrepareConnectSettingsFile();
    connectDialog_ = new korvel::TFormConnect(this, QString::fromStdString(settingsFile),
                                              QString::fromStdString(Tr("Подключение к прибору Z5R")),
                                              QStringLiteral("Z5R"));
    connectDialog_->setObjectName(QStringLiteral("FormConnect"));
    connectDialog_->OnConnect = [this](const QString& address) { ConnectTo(address); };
    connectDialog_->SetInterface(QStringLiteral("TCP"));
    connectDialog_->SetSearchName(QStringLiteral("Z5R"));
    connectDialog_->AllowAutoConnect(true);
    connectDialog_->SetState(connectionShown_);
    return connectDialog_;
}

void TMain::ConnectActionExecute() {
    if (connectActionRunning_) return;
    connectActionRunning_ = true;

    if (!state_.startAddress.empty()) {
        const std::string address = state_.startAddress;
        ConnectTo(QString::fromStdString(address));
        state_.startAddress.clear();
    } else if (ConnectDialog()->AutoConnectEnabled() && !connectDialog_->StoredAddress().isEmpty() &&
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
    const std::string error = controller_.OpenConnection(address.toStdString());
    if (error.empty()) return;
    korvel::TFormConnect& dialog = *ConnectDialog();
    dialog.Error(QString::fromStdString(error));
    if (!dialog.isVisible()) RunModal(dialog);
}

void TMain::ShowConnected(const SInstrumentIdentity& instrument) {
    ConnectLabelItem->setText(Text("Подключен"));
    IPLabelItem->setText(QStringLiteral("IP: ") + QString::fromStdString(instrument.address));
    SNLabelItem->setText(Text("с/н: ") + QString::fromStdString(instrument.serial));
    NameLabelItem->setText(QString::fromStdString(instrument.name));
    DisconnectAction->setEnabled(true);
    EnableRFAction->setEnabled(true);
    ConnectAction->setEnabled(false);
    connectionShown_ = korvel::csConnected;
    if (connectDialog_ != nullptr) {
        connectDialog_->SetState(korvel::csConnected);
        connectDialog_->Initialized();
    }
}

void TMain::ShowDisconnected() {
    ConnectLabelItem->setText(Text("Отключен"));
    IPLabelItem->setText(QStringLiteral("IP: ---.---.---.---"));
    // Eight dashes after a connection; the window starts with nine.
    SNLabelItem->setText(Text("с/н: ") + QStringLiteral("--------"));
    NameLabelItem->setText(QStringLiteral("--------"));
    DisconnectAction->setEnabled(false);
    EnableRFAction->setEnabled(false);
    ConnectAction->setEnabled(true);
    connectionShown_ = korvel::csDisconnected;
    if (connectDialog_ != nullptr) connectDialog_->SetState(korvel::csDisconnected);
}

}  // namespace z5r

// TMain: the connect and disconnect actions and the connection dialog.
#include <QString>

#include "core/paths.h"
#include "core/z5r_device.h"
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

std::string TMain::OpenConnection(const std::string& /*address*/) {
    // Seam: the connection procedure (driver session, the instrument's
    // limits, the operator's profile file, enabling the controls, applying
    // the settings, the status poll) comes with the instrument session work.
    // Until then no instrument is connected and the dialog says so.
    return Tr("Подключение к прибору недоступно в этой версии программы.");
}

void TMain::DisconnectActionExecute() {
    if (device_ == nullptr || !device_->IsConnected()) return;
    // Seam: switching the RF output off, closing the session, saving the
    // operator's settings and resetting the window come with the connection
    // procedure; no session can be open before it.
}

}  // namespace z5r

// TFormConnect: the connection dialog. The operator picks an address (typed,
// from the history, the factory address, or an instrument found by the
// search) and connects; the dialog hands the address to its owner through
// OnConnect. The owner reports back with SetState / Initialized / Error.
//
// The automatic-connection option, the stored address and the history live in
// the settings file (connect_settings.h), under the device name. An empty file
// name keeps nothing. The stored address and the history change when a
// connection made through the dialog succeeds (Initialized after OnConnect).
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "korvel/components/connect_settings.h"
#include "korvel/components/instrument_search.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace korvel {

class TKvIndicator;

// The dialog's connection state as the owner reports it.
enum EConnectionState { csIdle = 0, csConnected = 1, csDisconnected = 2 };

class TFormConnect : public QDialog {
    Q_OBJECT
public:
    TFormConnect(QWidget* owner, const QString& settingsFile, const QString& caption,
                 const QString& deviceName);
    // Waits for a running search to end.
    ~TFormConnect() override;

    // Called with the address to connect to (connect button, double click on a
    // found instrument, AutoConnect).
    std::function<void(const QString& address)> OnConnect;

    // The kind of interface searched and shown ("TCP").
    void SetInterface(const QString& interfaceName);
    QString Interface() const { return interface_; }
    // The expression the search looks for ("Z5R"; empty finds everything).
    void SetSearchName(const QString& name);
    QString SearchName() const { return searchName_; }
    // Shows or hides the automatic-connection option.
    void AllowAutoConnect(bool allow);
    bool AutoConnectAllowed() const { return autoConnectAllowed_; }

    // Hands the stored address to OnConnect; false (and nothing called) when
    // no address is stored.
    bool AutoConnect();

    void SetState(int state);
    int State() const { return state_; }
    // Whether the owner last reported a connection (state 1).
    bool Connected() const { return state_ == csConnected; }
    // The owner finished a connection: the address it was given is stored,
    // the dialog shows success and closes if it is open.
    void Initialized();
    // Shows a failure text in the dialog.
    void Error(const QString& text);
    QString ErrorText() const;

    // The automatic-connection option (as stored, or as ticked since).
    bool AutoConnectEnabled() const { return settings_.autoConnect; }
    QString StoredAddress() const { return QString::fromStdString(settings_.address); }
    QStringList History() const;

    // The address in the address field (a named entry gives its address).
    QString Address() const;
    void SetAddress(const QString& address);

    // The factory address listed under its name (defaults: "Адрес по
    // умолчанию", "169.254.0.254").
    void SetDefaultAddress(const QString& name, const QString& address);

    // Starts the instrument search off the GUI thread; false when one runs.
    bool StartSearch();
    bool Searching() const { return searching_; }
    // The instruments the last search found.
    const std::vector<FoundInstrument>& Found() const { return found_; }

signals:
    void searchFinished();

private:
    void BuildLayout();
    void FillAddressBox();
    void ConnectClicked();
    void RequestConnect(const QString& address);
    void SearchDone(std::vector<FoundInstrument> found);
    void FoundActivated(int row);
    void AutoConnectToggled(bool on);
    void ShowState();
    void Save();

    std::string settingsFile_;
    std::string deviceName_;
    ConnectSettings settings_;
    QString interface_;
    QString searchName_;
    QString defaultName_;
    QString defaultAddress_;
    QString pendingAddress_;  // handed to OnConnect, stored on Initialized
    bool autoConnectAllowed_ = true;
    int state_ = csIdle;
    bool searching_ = false;
    std::vector<FoundInstrument> found_;
    std::thread searchThread_;

    QComboBox* addressBox_ = nullptr;
    QPushButton* connectButton_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QProgressBar* searchProgress_ = nullptr;
    QListWidget* foundList_ = nullptr;
    QCheckBox* autoConnectBox_ = nullptr;
    QLabel* interfaceLabel_ = nullptr;
    QLabel* stateLabel_ = nullptr;
    QLabel* errorLabel_ = nullptr;
    TKvIndicator* stateLamp_ = nullptr;
};

}  // namespace korvel

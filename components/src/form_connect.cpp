#include "korvel/components/form_connect.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "korvel/components/kv_indicator.h"
#include "qt_text.h"
#include "z5r/i18n.h"

namespace korvel {

namespace {
// Where an item of the address box keeps the address it stands for.
constexpr int kAddressRole = Qt::UserRole;
}  // namespace

TFormConnect::TFormConnect(QWidget* owner, const QString& settingsFile, const QString& caption,
                           const QString& deviceName)
    : QDialog(owner),
      settingsFile_(settingsFile.toStdString()),
      deviceName_(deviceName.toStdString()),
      settings_(LoadConnectSettings(settingsFile_, deviceName_)),
      interface_(QStringLiteral("TCP")),
      searchName_(deviceName),
      defaultName_(ToQ(z5r::Tr("Адрес по умолчанию"))),
      defaultAddress_(QStringLiteral("169.254.0.254")) {
    setWindowTitle(caption);
    BuildLayout();
    FillAddressBox();
    const QString start = !settings_.address.empty()   ? StoredAddress()
                          : !settings_.history.empty() ? ToQ(settings_.history.front())
                                                       : defaultAddress_;
    SetAddress(start);
    ShowState();
}

TFormConnect::~TFormConnect() {
    if (searchThread_.joinable()) searchThread_.join();
}

void TFormConnect::BuildLayout() {
    auto* layout = new QVBoxLayout(this);

    interfaceLabel_ = new QLabel(this);
    layout->addWidget(interfaceLabel_);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(new QLabel(ToQ(z5r::Tr("Адрес прибора:")), this));
    addressBox_ = new QComboBox(this);
    addressBox_->setEditable(true);
    addressBox_->setInsertPolicy(QComboBox::NoInsert);
    addressBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addressRow->addWidget(addressBox_, 1);
    connectButton_ = new QPushButton(ToQ(z5r::Tr("Подключиться")), this);
    connectButton_->setDefault(true);
    addressRow->addWidget(connectButton_);
    layout->addLayout(addressRow);

    auto* searchRow = new QHBoxLayout;
    searchButton_ = new QPushButton(ToQ(z5r::Tr("Поиск приборов")), this);
    searchButton_->setAutoDefault(false);
    searchRow->addWidget(searchButton_);
    searchProgress_ = new QProgressBar(this);
    searchProgress_->setRange(0, 0);  // runs without a known end
    searchProgress_->setTextVisible(false);
    searchProgress_->hide();
    searchRow->addWidget(searchProgress_, 1);
    layout->addLayout(searchRow);

    foundList_ = new QListWidget(this);
    foundList_->setMinimumHeight(80);
    layout->addWidget(foundList_);

    autoConnectBox_ = new QCheckBox(ToQ(z5r::Tr("Подключаться автоматически при запуске")), this);
    autoConnectBox_->setChecked(settings_.autoConnect);
    layout->addWidget(autoConnectBox_);

    auto* stateRow = new QHBoxLayout;
    stateLamp_ = new TKvIndicator(this);
    stateLamp_->SetOnColor(QColor(0, 170, 0));
    stateLamp_->SetOffColor(Qt::lightGray);
    stateRow->addWidget(stateLamp_);
    stateLabel_ = new QLabel(this);
    stateRow->addWidget(stateLabel_, 1);
    layout->addLayout(stateRow);

    errorLabel_ = new QLabel(this);
    errorLabel_->setWordWrap(true);
    QPalette palette = errorLabel_->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    errorLabel_->setPalette(palette);
    errorLabel_->hide();
    layout->addWidget(errorLabel_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    closeButton_ = new QPushButton(ToQ(z5r::Tr("Закрыть")), this);
    closeButton_->setAutoDefault(false);
    buttons->addWidget(closeButton_);
    layout->addLayout(buttons);

    connect(connectButton_, &QPushButton::clicked, this, &TFormConnect::ConnectClicked);
    connect(searchButton_, &QPushButton::clicked, this, [this]() { StartSearch(); });
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(autoConnectBox_, &QCheckBox::toggled, this, &TFormConnect::AutoConnectToggled);
    connect(addressBox_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        // A named entry puts its address, not its name, into the field.
        const QString address = addressBox_->itemData(index, kAddressRole).toString();
        if (!address.isEmpty()) addressBox_->setEditText(address);
    });
    connect(foundList_, &QListWidget::currentRowChanged, this, &TFormConnect::FoundActivated);
    connect(foundList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = foundList_->row(item);
        if (row >= 0 && static_cast<std::size_t>(row) < found_.size()) {
            RequestConnect(ToQ(found_[static_cast<std::size_t>(row)].host));
        }
    });
    SetInterface(interface_);
}

void TFormConnect::FillAddressBox() {
    const QString typed = addressBox_->currentText();
    addressBox_->clear();
    for (const auto& entry : settings_.history) {
        addressBox_->addItem(ToQ(entry), ToQ(entry));
    }
    if (!defaultAddress_.isEmpty()) addressBox_->addItem(defaultName_, defaultAddress_);
    addressBox_->setEditText(typed);
}

// ---- owner's settings -------------------------------------------------------------

void TFormConnect::SetInterface(const QString& interfaceName) {
    interface_ = interfaceName;
    interfaceLabel_->setText(ToQ(z5r::Tr("Интерфейс:")) + QLatin1Char(' ') + interface_);
}

void TFormConnect::SetSearchName(const QString& name) { searchName_ = name; }

void TFormConnect::AllowAutoConnect(bool allow) {
    autoConnectAllowed_ = allow;
    autoConnectBox_->setVisible(allow);
}

void TFormConnect::SetDefaultAddress(const QString& name, const QString& address) {
    defaultName_ = name;
    defaultAddress_ = address;
    FillAddressBox();
}

QStringList TFormConnect::History() const {
    QStringList list;
    for (const auto& entry : settings_.history) list << ToQ(entry);
    return list;
}

QString TFormConnect::Address() const {
    const QString text = addressBox_->currentText().trimmed();
    const int index = addressBox_->findText(text);
    if (index >= 0) {
        const QString address = addressBox_->itemData(index, kAddressRole).toString();
        if (!address.isEmpty()) return address;
    }
    return text;
}

void TFormConnect::SetAddress(const QString& address) { addressBox_->setEditText(address); }

// ---- connecting ---------------------------------------------------------------------

bool TFormConnect::AutoConnect() {
    if (settings_.address.empty()) return false;
    RequestConnect(StoredAddress());
    return true;
}

void TFormConnect::ConnectClicked() { RequestConnect(Address()); }

void TFormConnect::RequestConnect(const QString& address) {
    if (searching_) return;  // Connect is disabled until the search ends
    if (address.trimmed().isEmpty()) {
        Error(ToQ(z5r::Tr("Не указан адрес прибора")));
        return;
    }
    errorLabel_->clear();
    errorLabel_->hide();
    pendingAddress_ = address.trimmed();
    // A copy: the owner may replace the callback while it runs.
    const auto handler = OnConnect;
    const QString chosen = pendingAddress_;  // the owner's answer may clear the pending one
    if (handler) handler(chosen);
}

void TFormConnect::SetState(int state) {
    state_ = std::clamp(state, static_cast<int>(csIdle), static_cast<int>(csDisconnected));
    if (state_ == csIdle) {
        errorLabel_->clear();
        errorLabel_->hide();
    }
    ShowState();
}

void TFormConnect::Initialized() {
    if (!pendingAddress_.isEmpty()) {
        settings_.address = pendingAddress_.toStdString();
        RememberAddress(settings_, settings_.address);
        pendingAddress_.clear();
        Save();
        FillAddressBox();
        SetAddress(StoredAddress());
    }
    errorLabel_->clear();
    errorLabel_->hide();
    ShowState();
    if (isVisible()) accept();
}

void TFormConnect::Error(const QString& text) {
    pendingAddress_.clear();
    errorLabel_->setText(text);
    errorLabel_->setVisible(!text.isEmpty());
}

QString TFormConnect::ErrorText() const { return errorLabel_->text(); }

void TFormConnect::ShowState() {
    stateLamp_->SetActive(state_ == csConnected);
    switch (state_) {
        case csConnected:
            stateLabel_->setText(ToQ(z5r::Tr("Подключен")));
            break;
        case csDisconnected:
            stateLabel_->setText(ToQ(z5r::Tr("Отключен")));
            break;
        default:
            stateLabel_->setText(ToQ(z5r::Tr("Нет подключения")));
            break;
    }
}

void TFormConnect::AutoConnectToggled(bool on) {
    if (settings_.autoConnect == on) return;
    settings_.autoConnect = on;
    Save();
}

void TFormConnect::Save() { SaveConnectSettings(settingsFile_, deviceName_, settings_); }

// ---- search -------------------------------------------------------------------------

bool TFormConnect::StartSearch() {
    if (searching_) return false;
    if (searchThread_.joinable()) searchThread_.join();
    searching_ = true;
    searchButton_->setEnabled(false);
    // Connecting while the search holds the library's attention would make
    // the person wait behind it; the found list also changes under the choice.
    connectButton_->setEnabled(false);
    searchProgress_->show();
    foundList_->clear();
    stateLabel_->setText(ToQ(z5r::Tr("Поиск приборов...")));
    const std::string expression = searchName_.toStdString();
    searchThread_ = std::thread([this, expression]() {
        std::vector<FoundInstrument> found;
        try {
            found = SearchInstruments(expression);
        } catch (...) {
            found.clear();  // out of memory: reported as nothing found
        }
        // Delivered on the dialog's thread; dropped if the dialog is gone
        // (the destructor joins this thread before the dialog goes).
        QMetaObject::invokeMethod(
            this, [this, found = std::move(found)]() mutable { SearchDone(std::move(found)); },
            Qt::QueuedConnection);
    });
    return true;
}

void TFormConnect::SearchDone(std::vector<FoundInstrument> found) {
    if (searchThread_.joinable()) searchThread_.join();
    searching_ = false;
    found_ = std::move(found);
    searchButton_->setEnabled(true);
    connectButton_->setEnabled(true);
    searchProgress_->hide();
    foundList_->clear();
    for (const auto& instrument : found_) {
        QString text = ToQ(instrument.host);
        if (!instrument.description.empty())
            text += QStringLiteral(" — ") + ToQ(instrument.description);
        foundList_->addItem(text);
    }
    ShowState();
    if (found_.empty()) {
        Error(ToQ(z5r::Tr("Приборы не найдены")));
    } else {
        errorLabel_->clear();
        errorLabel_->hide();
        foundList_->setCurrentRow(0);
    }
    emit searchFinished();
}

void TFormConnect::FoundActivated(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= found_.size()) return;
    SetAddress(ToQ(found_[static_cast<std::size_t>(row)].host));
}

}  // namespace korvel

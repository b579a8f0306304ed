// The connection dialog: what it hands to its owner, what it keeps in its
// settings file, and how it shows the owner's answers.
#include "korvel/components/form_connect.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "korvel/components/connect_settings.h"
#include "temp_dir.h"
#include "widget_test_support.h"

namespace korvel {
namespace {

class FormConnectTest : public ::testing::Test {
protected:
    QString File() const { return QString::fromStdString((dir_ / "config.xml").string()); }

    // A dialog whose owner connects to every address except "bad".
    std::unique_ptr<TFormConnect> Dialog(const QString& file) {
        auto dialog = std::make_unique<TFormConnect>(nullptr, file, QStringLiteral("Подключение"),
                                                     QStringLiteral("Z5R"));
        TFormConnect* raw = dialog.get();
        raw->OnConnect = [this, raw](const QString& address) {
            asked_ << address;
            if (address == "bad") {
                raw->Error(QStringLiteral("Нет ответа"));
                return;
            }
            raw->SetState(csConnected);
            raw->Initialized();
        };
        return dialog;
    }

    QPushButton* Button(TFormConnect& dialog, const char* text) {
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == QString::fromUtf8(text)) return button;
        }
        return nullptr;
    }

    test::TempDir dir_;
    QStringList asked_;
};

TEST_F(FormConnectTest, ConnectingHandsOverTheAddressAndStoresIt) {
    auto dialog = Dialog(File());
    dialog->SetAddress(QStringLiteral(" 192.168.1.20 "));
    auto* connect = Button(*dialog, "Подключиться");
    ASSERT_NE(connect, nullptr);
    QTest::mouseClick(connect, Qt::LeftButton);
    EXPECT_EQ(asked_, QStringList{"192.168.1.20"});
    EXPECT_EQ(dialog->StoredAddress(), "192.168.1.20");
    EXPECT_EQ(dialog->History(), QStringList{"192.168.1.20"});
    EXPECT_TRUE(dialog->Connected());

    const ConnectSettings saved = LoadConnectSettings(File().toStdString(), "Z5R");
    EXPECT_EQ(saved.address, "192.168.1.20");
    EXPECT_EQ(saved.history, std::vector<std::string>{"192.168.1.20"});

    // A later dialog on the same file starts from it.
    auto again = Dialog(File());
    EXPECT_EQ(again->StoredAddress(), "192.168.1.20");
    EXPECT_EQ(again->Address(), "192.168.1.20");
}

TEST_F(FormConnectTest, AFailedConnectionShowsTheErrorAndStoresNothing) {
    auto dialog = Dialog(File());
    dialog->SetAddress(QStringLiteral("bad"));
    QTest::mouseClick(Button(*dialog, "Подключиться"), Qt::LeftButton);
    EXPECT_EQ(dialog->ErrorText(), "Нет ответа");
    EXPECT_EQ(dialog->StoredAddress(), "");
    EXPECT_TRUE(dialog->History().isEmpty());
    EXPECT_FALSE(std::ifstream(File().toStdString()).good());
    // A later success clears the error; the state is shown.
    dialog->SetAddress(QStringLiteral("10.0.0.5"));
    QTest::mouseClick(Button(*dialog, "Подключиться"), Qt::LeftButton);
    EXPECT_EQ(dialog->ErrorText(), "");
    EXPECT_EQ(dialog->StoredAddress(), "10.0.0.5");
}

TEST_F(FormConnectTest, AnEmptyAddressIsNotHandedOver) {
    auto dialog = Dialog(File());
    dialog->SetAddress(QStringLiteral("   "));
    QTest::mouseClick(Button(*dialog, "Подключиться"), Qt::LeftButton);
    EXPECT_TRUE(asked_.isEmpty());
    EXPECT_FALSE(dialog->ErrorText().isEmpty());
}

TEST_F(FormConnectTest, AutoConnectUsesTheStoredAddress) {
    auto dialog = Dialog(File());
    EXPECT_FALSE(dialog->AutoConnect());  // nothing stored yet
    EXPECT_TRUE(asked_.isEmpty());

    ASSERT_TRUE(SaveConnectSettings(File().toStdString(), "Z5R",
                                    ConnectSettings{true, "10.1.2.3", {"10.1.2.3", "10.9.9.9"}}));
    auto stored = Dialog(File());
    EXPECT_TRUE(stored->AutoConnectEnabled());
    EXPECT_EQ(stored->StoredAddress(), "10.1.2.3");
    EXPECT_EQ(stored->History(), (QStringList{"10.1.2.3", "10.9.9.9"}));
    EXPECT_TRUE(stored->AutoConnect());
    EXPECT_EQ(asked_, QStringList{"10.1.2.3"});
}

TEST_F(FormConnectTest, TheAutomaticOptionIsKeptInTheFile) {
    auto dialog = Dialog(File());
    auto* box = dialog->findChild<QCheckBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(dialog->AutoConnectEnabled());
    box->setChecked(true);
    EXPECT_TRUE(dialog->AutoConnectEnabled());
    EXPECT_TRUE(LoadConnectSettings(File().toStdString(), "Z5R").autoConnect);
    dialog->AllowAutoConnect(false);
    EXPECT_TRUE(box->isHidden());
    dialog->AllowAutoConnect(true);
    EXPECT_FALSE(box->isHidden());
}

TEST_F(FormConnectTest, TheFactoryAddressIsListedUnderItsName) {
    auto dialog = Dialog(File());
    auto* box = dialog->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    const int index = box->findText(QStringLiteral("Адрес по умолчанию"));
    ASSERT_GE(index, 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
    EXPECT_EQ(dialog->Address(), "169.254.0.254");
    EXPECT_EQ(box->currentText(), "169.254.0.254");
    // Even with the name left in the field, the address is what is handed over.
    box->setEditText(QStringLiteral("Адрес по умолчанию"));
    QTest::mouseClick(Button(*dialog, "Подключиться"), Qt::LeftButton);
    EXPECT_EQ(asked_, QStringList{"169.254.0.254"});
    // With nothing stored, the dialog starts with the factory address.
    auto fresh = Dialog(QString());
    EXPECT_EQ(fresh->Address(), "169.254.0.254");
}

TEST_F(FormConnectTest, HistoryPutsTheLatestFirst) {
    auto dialog = Dialog(File());
    for (const char* address : {"10.0.0.1", "10.0.0.2", "10.0.0.1"}) {
        dialog->SetAddress(QString::fromUtf8(address));
        QTest::mouseClick(Button(*dialog, "Подключиться"), Qt::LeftButton);
    }
    EXPECT_EQ(dialog->History(), (QStringList{"10.0.0.1", "10.0.0.2"}));
    auto* box = dialog->findChild<QComboBox*>();
    EXPECT_EQ(box->itemText(0), "10.0.0.1");
    EXPECT_EQ(box->itemText(1), "10.0.0.2");
}

TEST_F(FormConnectTest, WithoutASettingsFileNothingIsKept) {
    auto dialog = Dialog(QString());
    dialog->SetAddress(QStringLiteral("10.0.0.1"));
    QTest::mouseClick(Button(*dialog, "Подключиться"), Qt::LeftButton);
    EXPECT_EQ(dialog->StoredAddress(), "10.0.0.1");  // for this run only
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                            std::filesystem::directory_iterator{}),
              0);
}

TEST_F(FormConnectTest, ACorruptFileGivesDefaults) {
    std::ofstream(File().toStdString()) << "<connection><device name=\"Z5R\" address=";
    auto dialog = Dialog(File());
    EXPECT_FALSE(dialog->AutoConnectEnabled());
    EXPECT_EQ(dialog->StoredAddress(), "");
    EXPECT_FALSE(dialog->AutoConnect());
}

TEST_F(FormConnectTest, ShowsTheOwnersStateAndClosesOnSuccess) {
    auto dialog = Dialog(File());
    dialog->Error(QStringLiteral("старая ошибка"));
    dialog->SetState(csIdle);
    EXPECT_EQ(dialog->ErrorText(), "");  // shown afresh
    EXPECT_FALSE(dialog->Connected());
    dialog->SetState(csDisconnected);
    EXPECT_EQ(dialog->State(), csDisconnected);
    EXPECT_FALSE(dialog->Connected());
    dialog->SetState(42);
    EXPECT_EQ(dialog->State(), csDisconnected);  // clamped to a known state

    // Modal like the owner shows it: a successful connection ends exec().
    dialog->SetAddress(QStringLiteral("10.0.0.9"));
    QTimer::singleShot(0, dialog.get(), [&]() {
        QTest::mouseClick(Button(*dialog, "Подключиться"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_TRUE(dialog->Connected());
    EXPECT_EQ(asked_, QStringList{"10.0.0.9"});
}

}  // namespace
}  // namespace korvel

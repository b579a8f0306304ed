// The toolkit's message boxes behind the prompt interface: what the box
// shows, which button answers what, the owner and the flags, and the Russian
// captions of the standard buttons.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "test_env.h"
#include "ui/qt_prompt.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

// Shows `message` and, once the box is up, lets `act` look at it and answer.
EPromptResult ShowAndAct(CQtPrompt& prompt, const SPromptMessage& message,
                         const std::function<void(QMessageBox&)>& act) {
    bool acted = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || acted) return;
        acted = true;
        act(*box);
    });
    poll.start();
    // Bounded: a box nobody answers is closed after a while and fails below.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
    });
    giveUp.start(5000);
    const EPromptResult result = prompt.ShowMessage(message);
    EXPECT_TRUE(acted) << "the box never came up";
    return result;
}

SPromptMessage Message(EPromptButtons buttons, EPromptIcon icon = EPromptIcon::Warning, unsigned flags = pfNone) {
    SPromptMessage m;
    m.caption = "Внимание";
    m.text = "Продолжить?";
    m.icon = icon;
    m.buttons = buttons;
    m.flags = flags;
    return m;
}

class QtPromptTest : public ::testing::Test {
protected:
    void SetUp() override { SetupCatalogue(APP_LOCALE_DIR, "ru"); }
    QWidget owner;
    CQtPrompt prompt{&owner};
};

TEST_F(QtPromptTest, BoxShowsCaptionTextIconAndButtons) {
    const EPromptResult result =
        ShowAndAct(prompt, Message(EPromptButtons::YesNo, EPromptIcon::Question), [&](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), QString::fromUtf8("Внимание"));
            EXPECT_EQ(box.text(), QString::fromUtf8("Продолжить?"));
            EXPECT_EQ(box.icon(), QMessageBox::Question);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
            EXPECT_EQ(box.parentWidget(), &owner);
            // The toolkit's own captions come from the catalogue's "C++" domain.
            EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QString::fromUtf8("&Да"));
            EXPECT_EQ(box.button(QMessageBox::No)->text(), QString::fromUtf8("&Нет"));
            box.button(QMessageBox::No)->click();
        });
    EXPECT_EQ(result, EPromptResult::No);
}

TEST_F(QtPromptTest, EachButtonAnswersWithItsResult) {
    struct SCase {
        EPromptButtons buttons;
        QMessageBox::StandardButton press;
        EPromptResult expected;
    };
    const SCase cases[] = {
        {EPromptButtons::Ok, QMessageBox::Ok, EPromptResult::Ok},
        {EPromptButtons::OkCancel, QMessageBox::Cancel, EPromptResult::Cancel},
        {EPromptButtons::YesNo, QMessageBox::Yes, EPromptResult::Yes},
        {EPromptButtons::YesNoCancel, QMessageBox::Cancel, EPromptResult::Cancel},
        {EPromptButtons::RetryCancel, QMessageBox::Retry, EPromptResult::Retry},
        {EPromptButtons::AbortRetryIgnore, QMessageBox::Abort, EPromptResult::Abort},
        {EPromptButtons::AbortRetryIgnore, QMessageBox::Ignore, EPromptResult::Ignore},
    };
    for (const SCase& c : cases) {
        const EPromptResult result = ShowAndAct(prompt, Message(c.buttons), [&](QMessageBox& box) {
            ASSERT_NE(box.button(c.press), nullptr);
            box.button(c.press)->click();
        });
        EXPECT_EQ(result, c.expected) << static_cast<int>(c.buttons);
    }
}

TEST_F(QtPromptTest, ClosingWithoutAChoiceIsCancel) {
    const EPromptResult result =
        ShowAndAct(prompt, Message(EPromptButtons::RetryCancel), [](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(result, EPromptResult::Cancel);
}

TEST_F(QtPromptTest, FlagsDecideOwnerAndStayingOnTop) {
    ShowAndAct(prompt, Message(EPromptButtons::Ok, EPromptIcon::Error, pfNoOwner | pfTopmost), [](QMessageBox& box) {
        EXPECT_EQ(box.parentWidget(), nullptr);
        EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
        box.accept();
    });
    ShowAndAct(prompt, Message(EPromptButtons::Ok, EPromptIcon::Information), [&](QMessageBox& box) {
        EXPECT_EQ(box.parentWidget(), &owner);
        EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        box.accept();
    });
}

TEST_F(QtPromptTest, ATypedSaveDialogGivesTheTypeChosenAndItsExtension) {
    z5rtest::TempDir dir;
    QTimer poll;
    poll.setInterval(10);
    bool acted = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible() || acted) return;
        acted = true;
        // As the operator picks the second type and types a bare name.
        dialog->selectNameFilter(QStringLiteral("CSV (*.csv)"));
        emit dialog->filterSelected(QStringLiteral("CSV (*.csv)"));
        dialog->selectFile(QString::fromStdString(dir.Str() + "/list"));
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the button does
    });
    poll.start();
    const std::optional<SChosenFile> chosen =
        prompt.AskSaveFile(STypedFileDialog{SFileDialog{"Сохранить", "SRF (*.srf);;CSV (*.csv)", "srf"}, {"srf", "csv"}});
    ASSERT_TRUE(acted) << "the dialog never came up";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->type, 1);
    EXPECT_EQ(chosen->path, dir.Str() + "/list.csv");
}

}  // namespace
}  // namespace z5r

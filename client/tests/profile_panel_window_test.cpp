// The profile group of the main window wired to the controller's profile
// panel, the superuser submenu, and the comment and password dialogs.
#include <QAction>
#include <QLineEdit>
#include <QTreeWidget>

#include "changepassunit.h"
#include "connection_fixture.h"
#include "passqueryform.h"
#include "profilecommenteditor.h"

namespace z5rtest {
namespace {

class ProfilePanelWindowTest : public ConnectionTest {
protected:
    void WriteDefaultList() {
        z5r::SProfile named = z5r::MakeInitialProfile();
        named.comment = "CW 1 ГГц";
        named.freqparams.fix = 1e9;
        ASSERT_EQ(z5r::WriteProfileListFile(appDir_.Str() + "/default.z5p", {named, z5r::MakeInitialProfile()},
                                            z5r::EProfileListMark::Plain),
                  z5r::EProfileListWrite::Written);
    }
    static QString Cell(const z5r::TMain& main, int row, int column) {
        return main.ProfLV->topLevelItem(row)->text(column);
    }
};

TEST_F(ProfilePanelWindowTest, RowsCommandsAndTheAppliedMarkFollowThePanel) {
    WriteDefaultList();
    z5r::TMain& main = MakeMain({"-a", "127.0.0.1"});
    // Before the first connection the rows are there but nothing can be used.
    ASSERT_EQ(main.ProfLV->topLevelItemCount(), 1);
    EXPECT_EQ(Cell(main, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(Cell(main, 0, 1), Q("CW 1 ГГц"));
    EXPECT_FALSE(main.ProfLV->isEnabled());
    EXPECT_FALSE(main.AddProfileAction->isEnabled());

    main.show();
    main.ConnectActionExecute();
    ASSERT_TRUE(WaitFor([&] { return main.State().connectedFlag; })) << LastMessage();
    main.Timer1->stop();
    EXPECT_TRUE(main.ProfLV->isEnabled());
    EXPECT_TRUE(main.AddProfileAction->isEnabled());
    EXPECT_FALSE(main.ApplyProfileAction->isEnabled());

    prompt_.QueueComment("мой профиль");
    main.AddProfileAction->trigger();
    ASSERT_EQ(main.ProfLV->topLevelItemCount(), 2);
    EXPECT_EQ(Cell(main, 1, 1), Q("мой профиль"));
    EXPECT_TRUE(main.SaveProfileListAction->isEnabled());

    main.ProfLV->setCurrentItem(main.ProfLV->topLevelItem(0));
    EXPECT_TRUE(main.ApplyProfileAction->isEnabled());
    main.ApplyProfileAction->trigger();
    EXPECT_EQ(std::stod(SimState("CwFrequency")), 1e9);
    EXPECT_FALSE(main.ProfLV->topLevelItem(0)->icon(0).isNull());
    EXPECT_TRUE(main.ProfLV->topLevelItem(1)->icon(0).isNull());
}

TEST(ProfileDialogs, CommentAndPasswordDialogsGiveWhatWasTyped) {
    std::function<int(QDialog&)> typeAndAccept;
    const auto run = [&](QDialog& dialog) { return typeAndAccept(dialog); };

    z5r::TProfCommentForm comment(nullptr, run);
    typeAndAccept = [&](QDialog&) {
        EXPECT_EQ(comment.CommentEdit->text(), QStringLiteral("1 ГГц; -10 дБм"));
        comment.CommentEdit->setText(QStringLiteral("edited"));
        return static_cast<int>(QDialog::Accepted);
    };
    EXPECT_EQ(comment.Ask("1 ГГц; -10 дБм"), std::optional<std::string>("edited"));
    typeAndAccept = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
    EXPECT_EQ(comment.Ask("x"), std::nullopt);

    z5r::TPassForm pass(nullptr, run);
    EXPECT_EQ(pass.PassEdit->echoMode(), QLineEdit::Password);
    pass.PassEdit->setText(QStringLiteral("left over"));
    typeAndAccept = [&](QDialog&) {
        EXPECT_TRUE(pass.PassEdit->text().isEmpty());
        pass.PassEdit->setText(QStringLiteral("secret "));
        return static_cast<int>(QDialog::Accepted);
    };
    EXPECT_EQ(pass.Ask(), std::optional<std::string>("secret "));

    // The old password is emptied at each opening; the other two are kept.
    z5r::TChangePassForm change(nullptr, run);
    typeAndAccept = [&](QDialog&) {
        change.OldPassEdit->setText(QStringLiteral("old"));
        change.NewPassEdit->setText(QStringLiteral("new"));
        change.ConfirmPassEdit->setText(QStringLiteral("new"));
        return static_cast<int>(QDialog::Accepted);
    };
    const auto first = change.Ask();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->newPassword, "new");
    typeAndAccept = [&](QDialog&) {
        EXPECT_TRUE(change.OldPassEdit->text().isEmpty());
        EXPECT_EQ(change.NewPassEdit->text(), QStringLiteral("new"));
        return static_cast<int>(QDialog::Rejected);
    };
    EXPECT_EQ(change.Ask(), std::nullopt);
}

}  // namespace
}  // namespace z5rtest

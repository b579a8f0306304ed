// The list panel's widgets: actions, selection, check boxes, the double
// click and Ctrl+A reach the controller's list panel, and its rows show.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <memory>

#include "model/tests/initial_default_list.h"
#include "core/paths.h"
#include "gui_main.h"
#include "listeditor.h"
#include "test_env.h"
#include "ui/scripted_prompt.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

class ListPanelViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetupCatalogue(APP_LOCALE_DIR, "ru");
        SetApplicationDirOverride(appDir_.Str());
        std::ofstream(appDir_.Path() / "config.xml") << "<connection/>\n";
        z5rtest::WriteInitialDefaultList(appDir_.Str());
        STMainOptions options;
        options.prompt = &prompt_;
        options.runModal = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
        options.requestTerminate = [] {};
        main_ = std::make_unique<TMain>(std::move(options));
        editor_ = new TListEditorForm(main_.get(), [this](QDialog&) {
            ++editorOpenings_;
            return static_cast<int>(QDialog::Accepted);
        });
        SDialogs dialogs;
        dialogs.listEditor = editor_;
        main_->SetDialogs(dialogs);
        // As after connecting to an instrument without a password.
        main_->Controller().State().settingsLocked = false;
        main_->ListLV->setEnabled(true);
        for (QAction* action : {main_->NewListAction, main_->OpenListAction, main_->OpenListAndAddAction,
                                main_->AddLineAction}) {
            action->setEnabled(true);
        }
    }
    void TearDown() override {
        main_.reset();
        SetApplicationDirOverride("");
    }
    QTreeWidget& List() { return *main_->ListLV; }
    const CListPanel& Panel() { return main_->Controller().ListPanel(); }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) main_->AddLineAction->trigger();
    }

    z5rtest::UserFolders folders_;
    z5rtest::TempDir appDir_;
    CScriptedPrompt prompt_{EPromptResult::Ok};
    std::unique_ptr<TMain> main_;
    TListEditorForm* editor_ = nullptr;
    int editorOpenings_ = 0;
};

TEST_F(ListPanelViewTest, AnAddedSegmentShowsItsRowAndTheSelectionEnablesTheRowCommands) {
    AddRows(1);
    ASSERT_EQ(List().topLevelItemCount(), 1);
    QTreeWidgetItem* row = List().topLevelItem(0);
    EXPECT_EQ(row->text(0), "1");
    EXPECT_EQ(row->text(1), QString::fromUtf8("10 … 20000 МГц"));
    EXPECT_EQ(row->text(2), QString::fromUtf8("0 дБм"));
    EXPECT_EQ(row->text(3), "501");
    EXPECT_EQ(row->checkState(0), Qt::Checked);
    EXPECT_TRUE(main_->SaveListAction->isEnabled());
    EXPECT_FALSE(main_->EditLineAction->isEnabled());

    row->setSelected(true);
    EXPECT_TRUE(main_->EditLineAction->isEnabled());
    EXPECT_TRUE(main_->DeleteLineAction->isEnabled());

    row->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(Panel().Segments()[0].used, 0) << "the operator's click";

    main_->DeleteLineAction->trigger();
    EXPECT_EQ(List().topLevelItemCount(), 0);
    EXPECT_FALSE(main_->DeleteLineAction->isEnabled());
}

TEST_F(ListPanelViewTest, CtrlASelectsEveryRowAndADoubleClickAddsOrEdits) {
    AddRows(3);
    List().setFocus();
    QTest::keyClick(&List(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Panel().Selection().size(), 3u);
    EXPECT_TRUE(main_->DeselAllAction->isEnabled());
    EXPECT_FALSE(main_->UpLineAction->isEnabled()) << "several rows";

    const int openings = editorOpenings_;
    List().clearSelection();
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, List().viewport()->rect().bottomRight() - QPoint(2, 2));
    EXPECT_EQ(List().topLevelItemCount(), 4) << "on no row it adds";
    List().topLevelItem(1)->setSelected(true);
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, List().visualItemRect(List().topLevelItem(1)).center());
    EXPECT_EQ(List().topLevelItemCount(), 4) << "on a selected row it edits";
    EXPECT_EQ(editorOpenings_, openings + 2);
}

TEST_F(ListPanelViewTest, ThePopUpMenuAndTheShortcuts) {
    QStringList texts;
    for (QAction* action : main_->ListPopupMenu->actions()) {
        if (!action->isSeparator()) texts << action->text();
    }
    EXPECT_EQ(texts, (QStringList{"Новый список", "Открыть список", "Сохранить список", "Добавить", "Редактировать",
                                  "Удалить", "Переместить вверх", "Переместить вниз", "Выделить все",
                                  "Снять выделение"}));
    EXPECT_EQ(main_->AddLineAction->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(main_->DeleteLineAction->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(main_->AddLineAction->shortcutContext(), Qt::WidgetShortcut);
    EXPECT_TRUE(List().actions().contains(main_->AddLineAction)) << "Insert belongs to the list view";
}

}  // namespace
}  // namespace z5r

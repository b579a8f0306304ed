// Under Z5R_LANG=en no window of the program shows a Russian text anywhere:
// every caption, item, hint, menu and title went through the catalogue.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <memory>

#include "about.h"
#include "changepassunit.h"
#include "gui_main.h"
#include "korvel/components/form_connect.h"
#include "listeditor.h"
#include "packetparams.h"
#include "passqueryform.h"
#include "profilecommenteditor.h"
#include "test_env.h"
#include "ui/scripted_prompt.h"
#include "window_texts.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

class EnglishWindows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SetupCatalogue(APP_LOCALE_DIR), "en"); }
    void TearDown() override { SetupCatalogue(APP_LOCALE_DIR, "ru"); }

    static std::string Describe(const std::vector<z5rtest::ShownText>& texts) {
        std::string out;
        for (const auto& t : texts) out += "\n  " + t.where + ": \"" + t.text + "\"";
        return out;
    }

    z5rtest::ScopedEnv language_{"Z5R_LANG", std::string("en")};
    z5rtest::UserFolders folders_;
};

TEST_F(EnglishWindows, MainWindowAndItsConnectionDialogShowNoRussian) {
    CScriptedPrompt prompt;
    STMainOptions options;
    options.prompt = &prompt;
    options.runModal = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
    TMain main(std::move(options));
    main.show();  // the summary captions are translated when shown
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Z5R Software Suite"));
    EXPECT_EQ(main.ConnectLabelItem->text(), QStringLiteral("Disconnected"));
    EXPECT_EQ(main.ModeCB->itemText(1), QStringLiteral("Frequency sweep"));

    const auto russian = z5rtest::CyrillicTexts(&main);
    EXPECT_TRUE(russian.empty()) << Describe(russian);
    // The texts were really gathered (the walk is not empty-handed).
    EXPECT_GT(z5rtest::CollectTexts(&main).size(), 150u);

    main.ConnectActionExecute();
    ASSERT_NE(main.ConnectDialog(), nullptr);
    const auto dialogRussian = z5rtest::CyrillicTexts(main.ConnectDialog());
    EXPECT_TRUE(dialogRussian.empty()) << Describe(dialogRussian);
}

TEST_F(EnglishWindows, DialogsShowNoRussian) {
    CScriptedPrompt prompt;
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.emplace_back(std::make_unique<TListEditorForm>());
    dialogs.emplace_back(std::make_unique<TProfCommentForm>());
    auto packet = std::make_unique<TPacketParamsForm>(prompt);
    // With rows and a too-short period, so the list and both status panels show texts.
    packet->Load({SPulse{}, SPulse{}}, 1e-6, 2e-8);
    dialogs.emplace_back(std::move(packet));
    dialogs.emplace_back(std::make_unique<TChangePassForm>());
    dialogs.emplace_back(std::make_unique<TPassForm>());
    dialogs.emplace_back(std::make_unique<TAboutForm>(
        nullptr, MakeAboutTexts({"Z5R", "1.0.0.0", "1.0.0.0"}, {"help@x.example", "https://x.example/"})));
    for (const auto& dialog : dialogs) {
        EXPECT_FALSE(dialog->windowTitle().isEmpty()) << dialog->objectName().toStdString();
        const auto russian = z5rtest::CyrillicTexts(dialog.get());
        EXPECT_TRUE(russian.empty()) << dialog->objectName().toStdString() << Describe(russian);
    }
    EXPECT_EQ(dialogs[4]->windowTitle(), QStringLiteral("Password"));
}

}  // namespace
}  // namespace z5r

#include <gtest/gtest.h>

#include "ui/scripted_prompt.h"

namespace coretest {
namespace {

using namespace z5r;

TEST(ScriptedPromptTest, AnswersInOrderThenTheDefaultAndRecordsEveryBox) {
    CScriptedPrompt prompt(EPromptResult::Cancel);
    prompt.QueueAnswer(EPromptResult::Retry);
    prompt.QueueAnswer(EPromptResult::Yes);
    EXPECT_EQ(prompt.PendingAnswers(), 2u);

    const SPromptMessage first{"", "Потеряна связь", EPromptIcon::Warning, EPromptButtons::RetryCancel, pfTopmost};
    EXPECT_EQ(prompt.ShowMessage(first), EPromptResult::Retry);
    EXPECT_EQ(prompt.ShowMessage({"Ошибка", "b", EPromptIcon::Error, EPromptButtons::YesNo, pfSystemModal}),
              EPromptResult::Yes);
    EXPECT_EQ(prompt.ShowMessage({"c", "d", EPromptIcon::Information, EPromptButtons::Ok, pfNoOwner}),
              EPromptResult::Cancel);
    prompt.SetDefaultAnswer(EPromptResult::No);
    EXPECT_EQ(prompt.ShowMessage({}), EPromptResult::No);

    ASSERT_EQ(prompt.Shown().size(), 4u);
    EXPECT_EQ(prompt.Shown()[0].text, "Потеряна связь");
    EXPECT_EQ(prompt.Shown()[0].buttons, EPromptButtons::RetryCancel);
    EXPECT_EQ(prompt.Shown()[0].flags, static_cast<unsigned>(pfTopmost));
    EXPECT_EQ(prompt.Shown()[1].caption, "Ошибка");
    EXPECT_EQ(prompt.Shown()[2].icon, EPromptIcon::Information);
    prompt.ClearShown();
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST(ScriptedPromptTest, FileDialogsTakeTheQueuedNamesThenCancel) {
    CScriptedPrompt prompt;
    prompt.QueueFileName("/tmp/a.ppl");
    prompt.QueueFileName(std::nullopt);
    const SFileDialog open{"Открыть файл списка", "PPL (*.ppl)", "ppl"};
    EXPECT_EQ(prompt.AskOpenFileName(open), std::optional<std::string>("/tmp/a.ppl"));
    EXPECT_EQ(prompt.AskSaveFileName({"Сохранить файл списка", "PPL (*.ppl)", "ppl"}), std::nullopt);
    EXPECT_EQ(prompt.AskOpenFileName(open), std::nullopt);

    ASSERT_EQ(prompt.ShownDialogs().size(), 3u);
    EXPECT_FALSE(prompt.ShownDialogs()[0].save);
    EXPECT_TRUE(prompt.ShownDialogs()[1].save);
    EXPECT_EQ(prompt.ShownDialogs()[1].dialog.title, "Сохранить файл списка");
    EXPECT_EQ(prompt.ShownDialogs()[2].dialog.defaultExtension, "ppl");
}

}  // namespace
}  // namespace coretest

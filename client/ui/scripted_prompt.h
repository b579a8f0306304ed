// A prompt for tests: answers from a queue and records every message shown.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/prompt.h"

namespace z5r {

class CScriptedPrompt : public IPrompt {
public:
    explicit CScriptedPrompt(EPromptResult defaultAnswer = EPromptResult::Ok);

    // Answers are used in the order queued; when none is left the default
    // answer is given.
    void QueueAnswer(EPromptResult answer);
    void SetDefaultAnswer(EPromptResult answer);
    std::size_t PendingAnswers() const { return answers_.size(); }

    EPromptResult ShowMessage(const SPromptMessage& message) override;

    // File names are given in the order queued, for open and save dialogs
    // alike; an empty one, or none left, cancels the dialog.
    void QueueFileName(std::optional<std::string> fileName);
    std::optional<std::string> AskOpenFileName(const SFileDialog& dialog) override;
    std::optional<std::string> AskSaveFileName(const SFileDialog& dialog) override;
    // Every file dialog shown, oldest first, and whether it was for saving.
    struct SShownDialog {
        SFileDialog dialog;
        bool save = false;
    };
    const std::vector<SShownDialog>& ShownDialogs() const { return dialogs_; }
    // For the dialogs that also give a file type: `fileName` chosen under
    // `type`, from the same queue.
    void QueueFile(std::optional<std::string> fileName, int type);
    std::optional<SChosenFile> AskOpenFile(const STypedFileDialog& dialog) override;
    std::optional<SChosenFile> AskSaveFile(const STypedFileDialog& dialog) override;

    // The dialogs' answers in the order queued; none left cancels. Every
    // comment dialog's proposed text is kept.
    void QueueComment(std::optional<std::string> comment) { comments_.push_back(std::move(comment)); }
    void QueuePassword(std::optional<std::string> password) { passwords_.push_back(std::move(password)); }
    void QueuePasswordChange(std::optional<SPasswordChange> change) { changes_.push_back(std::move(change)); }
    std::optional<std::string> AskProfileComment(const std::string& text) override;
    std::optional<std::string> AskPassword() override;
    std::optional<SPasswordChange> AskPasswordChange() override;
    const std::vector<std::string>& ProposedComments() const { return proposed_; }
    int PasswordDialogsShown() const { return passwordDialogs_; }

    // Every message shown, oldest first.
    const std::vector<SPromptMessage>& Shown() const { return shown_; }
    void ClearShown() { shown_.clear(); }
    // The texts of the messages shown, oldest first.
    std::vector<std::string> ShownTexts() const {
        std::vector<std::string> texts;
        for (const SPromptMessage& message : shown_) texts.push_back(message.text);
        return texts;
    }

private:
    std::deque<EPromptResult> answers_;
    EPromptResult defaultAnswer_;
    std::vector<SPromptMessage> shown_;
    std::deque<std::optional<std::string>> fileNames_;
    std::vector<SShownDialog> dialogs_;
    std::deque<int> fileTypes_;  // one per queued file name
    std::deque<std::optional<std::string>> comments_;
    std::deque<std::optional<std::string>> passwords_;
    std::deque<std::optional<SPasswordChange>> changes_;
    std::vector<std::string> proposed_;
    int passwordDialogs_ = 0;

    std::optional<std::string> NextFileName();
    std::optional<SChosenFile> NextFile();
};

}  // namespace z5r

// Message boxes of the toolkit behind the prompt interface.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "ui/prompt.h"

namespace z5r {

// The program's own dialogs, shown by the windows that own them.
struct SOwnDialogs {
    std::function<std::optional<std::string>(const std::string&)> comment;
    std::function<std::optional<std::string>()> password;
    std::function<std::optional<SPasswordChange>()> passwordChange;
};

class CQtPrompt : public IPrompt {
public:
    explicit CQtPrompt(QWidget* owner = nullptr) : owner_(owner) {}

    // The window boxes belong to unless a message asks for none (the main
    // window, once it exists).
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const { return owner_; }
    // Until they are set, those dialogs count as cancelled.
    void SetOwnDialogs(SOwnDialogs dialogs) { dialogs_ = std::move(dialogs); }

    EPromptResult ShowMessage(const SPromptMessage& message) override;
    std::optional<std::string> AskOpenFileName(const SFileDialog& dialog) override;
    std::optional<std::string> AskSaveFileName(const SFileDialog& dialog) override;
    std::optional<SChosenFile> AskOpenFile(const STypedFileDialog& dialog) override;
    std::optional<SChosenFile> AskSaveFile(const STypedFileDialog& dialog) override;
    std::optional<std::string> AskProfileComment(const std::string& text) override;
    std::optional<std::string> AskPassword() override;
    std::optional<SPasswordChange> AskPasswordChange() override;

private:
    QPointer<QWidget> owner_;
    SOwnDialogs dialogs_;
};

}  // namespace z5r

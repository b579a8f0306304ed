// Message boxes of the toolkit behind the prompt interface.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/prompt.h"

namespace z5r {

class CQtPrompt : public IPrompt {
public:
    explicit CQtPrompt(QWidget* owner = nullptr) : owner_(owner) {}

    // The window boxes belong to unless a message asks for none (the main
    // window, once it exists).
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const { return owner_; }

    EPromptResult ShowMessage(const SPromptMessage& message) override;
    std::optional<std::string> AskOpenFileName(const SFileDialog& dialog) override;
    std::optional<std::string> AskSaveFileName(const SFileDialog& dialog) override;
    std::optional<SChosenFile> AskOpenFile(const STypedFileDialog& dialog) override;
    std::optional<SChosenFile> AskSaveFile(const STypedFileDialog& dialog) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace z5r

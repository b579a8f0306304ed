// One event at a time. The window's events (an operator's action, a poll
// tick) run inside a scope of this guard; a message box nests an event loop,
// so a poll tick can arrive while an instrument operation or a box is still
// in progress. Such a tick is not run then but remembered, and run once when
// the outermost scope ends.
#pragma once

#include <functional>

#include "ui/prompt.h"

namespace z5r {

class CEventGuard {
public:
    // `whenIdle` runs each time the outermost scope ends, itself inside a
    // scope, and is not entered again while it runs.
    explicit CEventGuard(std::function<void()> whenIdle);

    class CScope {
    public:
        explicit CScope(CEventGuard& guard);
        ~CScope();
        CScope(const CScope&) = delete;
        CScope& operator=(const CScope&) = delete;

    private:
        CEventGuard& guard_;
    };

    bool Busy() const { return depth_ > 0; }

private:
    std::function<void()> whenIdle_;
    int depth_ = 0;
    bool idling_ = false;
};

// The person's prompt with every box inside a scope of the guard, so a box the
// program shows outside any event counts as an event as well.
class CGuardedPrompt final : public IPrompt {
public:
    CGuardedPrompt(IPrompt& prompt, CEventGuard& guard) : prompt_(prompt), guard_(guard) {}
    EPromptResult ShowMessage(const SPromptMessage& message) override;
    std::optional<std::string> AskOpenFileName(const SFileDialog& dialog) override;
    std::optional<std::string> AskSaveFileName(const SFileDialog& dialog) override;
    std::optional<SChosenFile> AskOpenFile(const STypedFileDialog& dialog) override;
    std::optional<SChosenFile> AskSaveFile(const STypedFileDialog& dialog) override;
    std::optional<std::string> AskProfileComment(const std::string& text) override;
    std::optional<std::string> AskPassword() override;
    std::optional<SPasswordChange> AskPasswordChange() override;

private:
    IPrompt& prompt_;
    CEventGuard& guard_;
};

}  // namespace z5r

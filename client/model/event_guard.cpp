#include "model/event_guard.h"

#include <utility>

namespace z5r {

CEventGuard::CEventGuard(std::function<void()> whenIdle) : whenIdle_(std::move(whenIdle)) {}

CEventGuard::CScope::CScope(CEventGuard& guard) : guard_(guard) { ++guard_.depth_; }

CEventGuard::CScope::~CScope() {
    if (--guard_.depth_ != 0 || guard_.idling_ || !guard_.whenIdle_) return;
    // What was put off runs as an event of its own; what it puts off in turn
    // is its own business to pick up.
    guard_.idling_ = true;
    ++guard_.depth_;
    guard_.whenIdle_();
    --guard_.depth_;
    guard_.idling_ = false;
}

EPromptResult CGuardedPrompt::ShowMessage(const SPromptMessage& message) {
    CEventGuard::CScope scope(guard_);
    return prompt_.ShowMessage(message);
}

std::optional<std::string> CGuardedPrompt::AskOpenFileName(const SFileDialog& dialog) {
    CEventGuard::CScope scope(guard_);
    return prompt_.AskOpenFileName(dialog);
}

std::optional<std::string> CGuardedPrompt::AskSaveFileName(const SFileDialog& dialog) {
    CEventGuard::CScope scope(guard_);
    return prompt_.AskSaveFileName(dialog);
}

std::optional<SChosenFile> CGuardedPrompt::AskOpenFile(const STypedFileDialog& dialog) {
    CEventGuard::CScope scope(guard_);
    return prompt_.AskOpenFile(dialog);
}

std::optional<SChosenFile> CGuardedPrompt::AskSaveFile(const STypedFileDialog& dialog) {
    CEventGuard::CScope scope(guard_);
    return prompt_.AskSaveFile(dialog);
}

std::optional<std::string> CGuardedPrompt::AskProfileComment(const std::string& text) {
    CEventGuard::CScope scope(guard_);
    return prompt_.AskProfileComment(text);
}

std::optional<std::string> CGuardedPrompt::AskPassword() {
    CEventGuard::CScope scope(guard_);
    return prompt_.AskPassword();
}

std::optional<SPasswordChange> CGuardedPrompt::AskPasswordChange() {
    CEventGuard::CScope scope(guard_);
    return prompt_.AskPasswordChange();
}

}  // namespace z5r

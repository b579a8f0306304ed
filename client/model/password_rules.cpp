#include "model/password_rules.h"

namespace z5r {

namespace {

bool Trimmable(char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; }

}  // namespace

std::string TrimPassword(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && Trimmable(text[first])) ++first;
    while (last > first && Trimmable(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool PasswordMatches(const std::string& stored, const std::string& entered) {
    return TrimPassword(entered) == TrimPassword(stored);
}

bool PasswordChangeAccepted(const std::string& stored, const SPasswordChange& change) {
    return PasswordMatches(stored, change.oldPassword) &&
           TrimPassword(change.newPassword) == TrimPassword(change.confirmation);
}

bool QueryPassword(IPrompt& prompt, const std::string& stored) {
    for (;;) {
        const std::optional<std::string> entered = prompt.AskPassword();
        if (!entered) return false;
        if (PasswordMatches(stored, *entered)) return true;
    }
}

std::optional<std::string> QueryNewPassword(IPrompt& prompt, const std::string& stored) {
    for (;;) {
        const std::optional<SPasswordChange> change = prompt.AskPasswordChange();
        if (!change) return std::nullopt;
        if (PasswordChangeAccepted(stored, *change)) return change->newPassword;
    }
}

}  // namespace z5r

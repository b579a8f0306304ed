// The rules of the two password dialogs: what counts as the same password,
// and the dialogs asked again until they are answered right or cancelled.
#pragma once

#include <optional>
#include <string>

#include "ui/prompt.h"

namespace z5r {

// Without leading and trailing blanks and control characters.
std::string TrimPassword(const std::string& text);

// The entered text matches the stored password, both trimmed, exactly and
// case-sensitively.
bool PasswordMatches(const std::string& stored, const std::string& entered);

// The old password matches and the new one equals its confirmation, trimmed.
bool PasswordChangeAccepted(const std::string& stored, const SPasswordChange& change);

// The password dialog until the right password (true) or Cancel (false);
// a wrong one opens it again without a message.
bool QueryPassword(IPrompt& prompt, const std::string& stored);

// The change dialog until it is accepted (the new password as typed) or
// cancelled (none).
std::optional<std::string> QueryNewPassword(IPrompt& prompt, const std::string& stored);

}  // namespace z5r

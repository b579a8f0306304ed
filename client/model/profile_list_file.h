// Profile-list files (.z5p): the profile-list document stored compressed
// behind the tag "VxZ" 01. File names are the platform's own (UTF-8).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/profile.h"
#include "model/profile_list_document.h"
#include "ui/prompt.h"

namespace z5r {

inline constexpr const char kProfileListSignature[] = "VxZ\x01";

// Whether the secure-mode test applies: a secure instrument is connected
// (the superuser menu is shown and the instrument connected) and the file is
// not the default file.
ESecureListTest SecureListTestFor(bool superuserMenu, bool connected, bool defaultFile);

// Reads the file at `path`; `profiles` is replaced only on Read.
EProfileListRead ReadProfileListFile(const std::string& path, ESecureListTest test,
                                     std::vector<SProfile>& profiles);

enum class EProfileListWrite { Written, CannotWrite };

// Replaces the file at `path`; on CannotWrite the previous file is whole.
EProfileListWrite WriteProfileListFile(const std::string& path, const std::vector<SProfile>& profiles,
                                       EProfileListMark mark);

// The message boxes the results call for (translated); none for Read,
// Unreadable and Written.
std::optional<SPromptMessage> ProfileListReadMessage(EProfileListRead result);
std::optional<SPromptMessage> ProfileListWriteMessage(EProfileListWrite result);

}  // namespace z5r

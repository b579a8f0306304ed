// Quoting a piece of a text line for a message about it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::size_t kQuotedLength = 60;

// `text` in double quotes: control and non-ASCII bytes as \xNN, cut with
// "..." after `maxLength` characters.
std::string Quoted(std::string_view text, std::size_t maxLength = kQuotedLength);

}  // namespace kv

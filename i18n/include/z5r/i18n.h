// Every text a person sees passes through the message catalogue. The keys are
// the program's Russian texts; the "ru" catalogue keeps them, the "en"
// catalogue translates them.
#pragma once

#include <string>

namespace z5r {

// The catalogue's text for `key` (UTF-8), or `key` itself when the catalogue
// has none or no catalogue was set up.
std::string Tr(const char* key);
inline std::string Tr(const std::string& key) { return Tr(key.c_str()); }

// The text for `key` where the same key means different things: looked up
// under `context` (a message context of the catalogue), `key` itself when
// the catalogue has no entry for that context.
std::string TrContext(const char* context, const char* key);

// Texts that come with the toolkit rather than the program (standard button
// captions, edit menus): looked up in the additional domain "C++" first, then
// in the program's own; `text` itself when neither has it.
std::string TrResource(const char* text);

// Binds the program's text domain to the catalogues under `localeDir`
// (<localeDir>/<lang>/LC_MESSAGES/Client_Z5R.mo, and C++.mo for the toolkit's
// texts) and selects a language:
// `language` when not empty, else the environment variable Z5R_LANG, else "ru".
// Returns the language selected.
std::string SetupCatalogue(const std::string& localeDir, const std::string& language = "");

// Marks a literal for the catalogue without translating it where it stands
// (tables of keys translated later).
#define Z5R_TEXT(key) key

}  // namespace z5r

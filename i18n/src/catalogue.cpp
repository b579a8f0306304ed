#include "z5r/i18n.h"

#include <libintl.h>
#include <locale.h>

#include <cstdlib>
#include <mutex>

namespace z5r {

namespace {

constexpr const char* kDomain = "Client_Z5R";
// Texts built into the toolkit and run-time (button captions and the like),
// kept apart from the program's own Russian keys.
constexpr const char* kResourceDomain = "C++";

// gettext picks the language from LANGUAGE only when the messages locale is
// not "C"; the process locale is whatever the environment (and the toolkit,
// which calls setlocale) makes it, often plain "C" in a bare container. The
// lookups therefore run under a locale of their own, C.UTF-8, which glibc
// ships even where no other locale is installed.
struct Catalogue {
    std::mutex mutex;
    locale_t messages = nullptr;
    bool ready = false;
};

Catalogue& State() {
    static Catalogue catalogue;
    return catalogue;
}

locale_t NewMessagesLocale() {
    for (const char* name : {"C.UTF-8", "C.utf8"}) {
        if (locale_t loc = newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, name, locale_t{})) return loc;
    }
    return locale_t{};
}

std::string Lookup(const char* first, const char* second, const char* key) {
    if (key == nullptr) return {};
    Catalogue& state = State();
    locale_t messages;
    {
        std::lock_guard lock(state.mutex);
        if (!state.ready) return key;
        messages = state.messages;
    }
    const locale_t previous = uselocale(messages);
    const char* text = dgettext(first, key);
    if (text == key && second != nullptr) text = dgettext(second, key);
    std::string result = text;
    uselocale(previous);
    return result;
}

}  // namespace

std::string Tr(const char* key) { return Lookup(kDomain, nullptr, key); }

std::string TrContext(const char* context, const char* key) {
    if (key == nullptr) return {};
    if (context == nullptr) return Tr(key);
    // gettext keeps a context and its key as one id joined by EOT.
    const std::string id = std::string(context) + '\004' + key;
    const std::string text = Lookup(kDomain, nullptr, id.c_str());
    return text == id ? std::string(key) : text;
}

std::string TrResource(const char* text) { return Lookup(kResourceDomain, kDomain, text); }

std::string SetupCatalogue(const std::string& localeDir, const std::string& language) {
    std::string selected = language;
    if (selected.empty()) {
        const char* fromEnvironment = std::getenv("Z5R_LANG");
        selected = (fromEnvironment != nullptr && fromEnvironment[0] != '\0') ? fromEnvironment : "ru";
    }

    Catalogue& state = State();
    std::lock_guard lock(state.mutex);
    if (state.messages == locale_t{}) state.messages = NewMessagesLocale();
    if (state.messages == locale_t{}) {
        // Without a UTF-8 locale gettext would ignore the language: the keys stay.
        state.ready = false;
        return selected;
    }
    setenv("LANGUAGE", selected.c_str(), 1);
    bindtextdomain(kDomain, localeDir.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    bindtextdomain(kResourceDomain, localeDir.c_str());
    bind_textdomain_codeset(kResourceDomain, "UTF-8");
    // Naming the domain again tells gettext to forget the translations it
    // cached for the previous language.
    textdomain(kDomain);
    state.ready = true;
    return selected;
}

}  // namespace z5r

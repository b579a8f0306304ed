#include "z5r/i18n.h"

#include <libintl.h>
#include <locale.h>

#include <cstdlib>
#include <mutex>
#include <unordered_map>

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
    // Texts already looked up for the current language, by domain and key: a
    // gettext lookup switches locales and takes its own locks, and the window
    // asks for the same few captions and units over and over. Emptied when the
    // language is set up again.
    std::unordered_map<std::string, std::string> known;
    unsigned setups = 0;  // moves on with every set-up, which empties `known`
};

// Keys are the program's own texts; one composed from outside data would
// otherwise make the memory grow without end.
constexpr std::size_t kMaxKnownTexts = 4096;

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
    // Domain names hold no NUL, so the composed id is unambiguous.
    std::string id = first;
    id += '\0';
    if (second != nullptr) id += second;
    id += '\0';
    id += key;
    locale_t messages;
    unsigned setup = 0;
    {
        std::lock_guard lock(state.mutex);
        if (!state.ready) return key;
        const auto found = state.known.find(id);
        if (found != state.known.end()) return found->second;
        messages = state.messages;
        setup = state.setups;
    }
    const locale_t previous = uselocale(messages);
    const char* text = dgettext(first, key);
    if (text == key && second != nullptr) text = dgettext(second, key);
    std::string result = text;
    uselocale(previous);
    std::lock_guard lock(state.mutex);
    // A language set up meanwhile may have answered differently; only a lookup
    // under the language still current is kept.
    if (state.ready && state.setups == setup && state.known.size() < kMaxKnownTexts) {
        state.known.emplace(std::move(id), result);
    }
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
    state.known.clear();
    ++state.setups;
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

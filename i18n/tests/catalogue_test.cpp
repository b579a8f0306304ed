// Looking texts up in the catalogues: language selection, the bare "C"
// locale of a minimal system, switching languages, the toolkit's domain.
#include <gtest/gtest.h>

#include <locale.h>

#include <cstdlib>
#include <string>

#include "z5r/i18n.h"

namespace {

const std::string kLocale = TEST_LOCALE_DIR;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, hadOld_ = true;
        if (value != nullptr) setenv(name, value, 1); else unsetenv(name);
    }
    ~ScopedEnv() {
        if (hadOld_) setenv(name_, old_.c_str(), 1); else unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool hadOld_ = false;
};

TEST(Catalogue, EnglishTranslatesKnownKeysAndKeepsUnknownOnes) {
    EXPECT_EQ(z5r::SetupCatalogue(kLocale, "en"), "en");
    EXPECT_EQ(z5r::Tr("Отключен"), "Disconnected");
    EXPECT_EQ(z5r::Tr(std::string("Отключен")), "Disconnected");
    EXPECT_EQ(z5r::Tr("Нет такого ключа"), "Нет такого ключа");
    EXPECT_EQ(z5r::Tr(nullptr), "");
}

TEST(Catalogue, AContextSeparatesTheMeaningsOfOneKey) {
    z5r::SetupCatalogue(kLocale, "en");
    EXPECT_EQ(z5r::TrContext("summary", "Отключен"), "Off");
    EXPECT_EQ(z5r::Tr("Отключен"), "Disconnected");
    // No entry under that context: the key, not the text of another meaning.
    EXPECT_EQ(z5r::TrContext("elsewhere", "Отключен"), "Отключен");
    EXPECT_EQ(z5r::TrContext(nullptr, "Отключен"), "Disconnected");
}

TEST(Catalogue, MissingCatalogueLeavesTheKeys) {
    EXPECT_EQ(z5r::SetupCatalogue(kLocale + "/nowhere", "en"), "en");
    EXPECT_EQ(z5r::Tr("Отключен"), "Отключен");
}

TEST(Catalogue, LanguageComesFromTheArgumentThenZ5RLangThenRussian) {
    {
        ScopedEnv lang("Z5R_LANG", "en");
        EXPECT_EQ(z5r::SetupCatalogue(kLocale), "en");
        EXPECT_EQ(z5r::Tr("метка языка"), "en");
        EXPECT_EQ(z5r::SetupCatalogue(kLocale, "ru"), "ru");
        EXPECT_EQ(z5r::Tr("метка языка"), "ru");
    }
    ScopedEnv lang("Z5R_LANG", nullptr);
    EXPECT_EQ(z5r::SetupCatalogue(kLocale), "ru");
    EXPECT_EQ(z5r::Tr("метка языка"), "ru");
    // A key the Russian catalogue lacks is shown as written.
    EXPECT_EQ(z5r::Tr("Только в программе"), "Только в программе");
}

TEST(Catalogue, TranslatesUnderTheCLocaleWithoutLocaleVariables) {
    // What a bare container gives the program, and what the toolkit's own
    // setlocale(LC_ALL, "") makes of it after the catalogue is set up.
    ScopedEnv all("LC_ALL", nullptr);
    ScopedEnv messages("LC_MESSAGES", nullptr);
    ScopedEnv lang("LANG", nullptr);
    ScopedEnv language("LANGUAGE", nullptr);
    setlocale(LC_ALL, "C");
    z5r::SetupCatalogue(kLocale, "en");
    EXPECT_EQ(z5r::Tr("Отключен"), "Disconnected");
    setlocale(LC_ALL, "");
    EXPECT_EQ(z5r::Tr("Отключен"), "Disconnected");
    setlocale(LC_ALL, "C");
}

TEST(Catalogue, SwitchingLanguageForgetsTextsLookedUpBefore) {
    z5r::SetupCatalogue(kLocale, "en");
    EXPECT_EQ(z5r::Tr("метка языка"), "en");
    z5r::SetupCatalogue(kLocale, "ru");
    EXPECT_EQ(z5r::Tr("метка языка"), "ru");
    z5r::SetupCatalogue(kLocale, "en");
    EXPECT_EQ(z5r::Tr("метка языка"), "en");
}

TEST(Catalogue, ToolkitTextsComeFromTheAdditionalDomain) {
    z5r::SetupCatalogue(kLocale, "ru");
    EXPECT_EQ(z5r::TrResource("&Yes"), "&Да");
    EXPECT_EQ(z5r::Tr("&Yes"), "&Yes");  // not a key of the program
    z5r::SetupCatalogue(kLocale, "en");
    EXPECT_EQ(z5r::TrResource("&Yes"), "&Yes");
    // The program's own domain answers when the toolkit's has nothing.
    EXPECT_EQ(z5r::TrResource("Отключен"), "Disconnected");
}

}  // namespace

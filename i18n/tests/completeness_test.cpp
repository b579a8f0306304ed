// Every catalogue key written in the sources of the windows and the widget
// package (Tr(...), Z5R_TEXT(...)) has an English translation in i18n/en.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "po_reader.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

// Sources relative to the project folder, tests excepted.
std::vector<std::string> TextSources() {
    const fs::path root = PROJECT_SOURCE_DIR;
    std::vector<std::string> sources;
    for (const auto& dir : Split(TEXT_SOURCE_DIRS, '|')) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            const auto& path = entry.path();
            if (!entry.is_regular_file()) continue;
            if (path.extension() != ".cpp" && path.extension() != ".h") continue;
            const std::string relative = fs::relative(path, root).generic_string();
            if (relative.find("/tests/") != std::string::npos) continue;
            sources.push_back(relative);
        }
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

bool HasCyrillic(const std::string& text) {
    // UTF-8 lead bytes 0xD0..0xD3 start the Cyrillic block U+0400..U+04FF.
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0xD0 && byte <= 0xD3;
    });
}

// A key with a message context is a key of its own.
std::string KeyOf(const z5rtest::PoEntry& entry) {
    return entry.context.empty() ? entry.id : entry.context + '\004' + entry.id;
}

class CatalogueCompleteness : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/z5r_catalogue_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        work_ = pattern;
    }
    void TearDown() override { fs::remove_all(work_); }

    // The keys of the sources, as xgettext extracts them.
    std::vector<z5rtest::PoEntry> ExtractKeys() {
        const auto sources = TextSources();
        EXPECT_FALSE(sources.empty()) << "no sources under " << TEXT_SOURCE_DIRS;
        const fs::path list = work_ / "sources.txt";
        {
            std::ofstream out(list);
            for (const auto& s : sources) out << s << '\n';
        }
        const fs::path pot = work_ / "keys.pot";
        const std::string command = std::string("'") + XGETTEXT +
            "' --from-code=UTF-8 --language=C++ -k --keyword=Tr --keyword=TrContext:1c,2 --keyword=Z5R_TEXT --force-po"
            " --directory='" PROJECT_SOURCE_DIR "' --files-from='" + list.string() +
            "' -o '" + pot.string() + "'";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
        return z5rtest::ReadPoFile(pot.string());
    }

    fs::path work_;
};

TEST_F(CatalogueCompleteness, EveryKeyHasOneEnglishTranslation) {
    const auto keys = ExtractKeys();
    ASSERT_FALSE(keys.empty()) << "no catalogue keys found in the sources";

    std::map<std::string, std::pair<std::string, std::string>> english;  // key -> (text, file)
    std::vector<std::string> conflicts;
    std::vector<std::string> untranslated;
    for (const auto& entry : fs::directory_iterator(EN_PO_DIR)) {
        if (entry.path().extension() != ".po") continue;
        const std::string file = entry.path().filename().string();
        for (const auto& po : z5rtest::ReadPoFile(entry.path().string())) {
            if (po.fuzzy || po.text.empty()) continue;
            if (HasCyrillic(po.text)) untranslated.push_back(file + ": \"" + po.id + "\" -> \"" + po.text + "\"");
            auto [it, added] = english.emplace(KeyOf(po), std::make_pair(po.text, file));
            if (!added && it->second.first != po.text) {
                conflicts.push_back("\"" + po.id + "\": \"" + it->second.first + "\" (" +
                                    it->second.second + ") vs \"" + po.text + "\" (" + file + ")");
            }
        }
    }

    std::string missing;
    int missingCount = 0;
    for (const auto& key : keys) {
        if (english.count(KeyOf(key)) != 0) continue;
        ++missingCount;
        missing += "\n  \"" + key.id + "\"";
        if (!key.references.empty()) missing += "  (" + key.references.front() + ")";
    }
    EXPECT_EQ(missingCount, 0) << missingCount << " key(s) without an English translation:" << missing;

    std::string conflictText;
    for (const auto& c : conflicts) conflictText += "\n  " + c;
    EXPECT_TRUE(conflicts.empty()) << "keys translated differently in two files:" << conflictText;

    std::string untranslatedText;
    for (const auto& u : untranslated) untranslatedText += "\n  " + u;
    EXPECT_TRUE(untranslated.empty()) << "English texts still in Russian:" << untranslatedText;
}

}  // namespace

// The configuration file as the launcher reads it: the first entry of each
// section in file order, whatever its name, and nothing from files that are
// empty, binary, huge or malformed.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "launcher_config.h"
#include "test_files.h"

namespace {

using z5r::ReadLauncherConfigFile;
using Setting = std::optional<std::string>;

constexpr char kBinary[] = "\x7f" "ELF\0\x01\x02[File\xff\xfe]\n=\0\n[Version\n\xff=\x01\n";

TEST(LauncherConfig, TakesTheFirstEntryOfEachSection) {
    const struct {
        const char* what;
        std::string text;
        Setting file, version, picture;
    } cases[] = {
        {"one entry each", "[File]\nname=Other.dat\n[Version]\nv=2.5\n[Picture]\np=back.png\n",
         "Other.dat", "2.5", "back.png"},
        {"any entry name, first in file order", "[Version]\nzzz=3.1\naaa=9.9\n", std::nullopt, "3.1", std::nullopt},
        {"a section written twice keeps its first entry", "[File]\na=first\n[Other]\nx=1\n[File]\nb=second\n",
         "first", std::nullopt, std::nullopt},
        {"section names in any case", "[file]\nx=c.dat\n[PICTURE]\ny=p.png\n", "c.dat", std::nullopt, "p.png"},
        {"values with blanks keep the inner ones", "[File]\nx =  my client.dat  \n", "my client.dat",
         std::nullopt, std::nullopt},
        {"an empty value is a value", "[File]\nx=\n", "", std::nullopt, std::nullopt},
        {"a section without entries is absent", "[File]\n[Version]\n", std::nullopt, std::nullopt, std::nullopt},
        {"entries outside a section are ignored", "x=1\n[Version]\nv=1.0\n", std::nullopt, "1.0", std::nullopt},
        {"comments and a malformed line are skipped", "; c\n[Version]\nno equals sign\nv=4.0\n", std::nullopt,
         "4.0", std::nullopt},
        {"empty file", "", std::nullopt, std::nullopt, std::nullopt},
        {"binary", std::string(kBinary, sizeof kBinary - 1), std::nullopt, std::nullopt, std::nullopt},
        {"a huge line before the setting", std::string(1 << 20, 'x') + "\n[Version]\nv=5.5\n", std::nullopt,
         "5.5", std::nullopt},
        {"many sections", [] {
             std::string text;
             for (int i = 0; i < 20000; ++i) text += "[S" + std::to_string(i) + "]\nk=v\n";
             return text + "[Picture]\np=last.png\n";
         }(), std::nullopt, std::nullopt, "last.png"},
    };
    for (const auto& c : cases) {
        z5rtest::TempDir folder;
        const auto config = ReadLauncherConfigFile(z5rtest::WriteFile(folder, z5r::kLauncherConfigName, c.text));
        EXPECT_EQ(config.file, c.file) << c.what;
        EXPECT_EQ(config.version, c.version) << c.what;
        EXPECT_EQ(config.picture, c.picture) << c.what;
        const auto fromText = z5r::ParseLauncherConfig(c.text);
        if (c.text.find('\0') == std::string::npos) {
            EXPECT_EQ(fromText.version, c.version) << c.what;
        }
    }
}

TEST(LauncherConfig, AFileThatCannotBeReadGivesNoSettings) {
    z5rtest::TempDir folder;
    for (const std::string& path : {folder.Str() + "/absent.cfg", folder.Str()}) {
        const auto config = ReadLauncherConfigFile(path);
        EXPECT_FALSE(config.file || config.version || config.picture) << path;
    }
}

}  // namespace

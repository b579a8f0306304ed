// What the splash window shows and which files it takes, decided from the
// launcher's folder: the configuration's version wins over the client file's
// version block, pictures and the client are found beside the launcher or
// under their own names.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "splash_settings.h"
#include "test_files.h"

namespace {

using z5r::MakeSplashSettings;
using z5r::ResolveExistingFile;

// Puts a client file carrying a version block with `fileVersion` into
// `folder`: a copy of this test program with the block added.
void PutClient(const z5rtest::TempDir& folder, const std::string& name, const std::string& fileVersion) {
    const std::string block = z5rtest::WriteFile(folder, "block.bin", std::string("Z5R-VERSION-1") + '\0' +
                                                            "ProductName=Z5R" + '\0' + "FileVersion=" + fileVersion);
    const std::string command = std::string(OBJCOPY) + " --add-section .z5r_version='" + block + "' '" +
                                std::filesystem::read_symlink("/proc/self/exe").string() + "' '" + folder.Str() +
                                "/" + name + "'";
    ASSERT_EQ(system(command.c_str()), 0) << command;
}

TEST(SplashSettings, VersionTextComesFromTheConfigurationElseFromTheClientFile) {
    const struct {
        const char* what;
        const char* config;  // nullptr: no configuration file
        const char* clientVersion;
        const char* versionText;
    } cases[] = {
        {"client file 1.2.3.4 gives major.minor", nullptr, "1.2.3.4", "Версия 1.2"},
        {"the configuration's version wins", "[Version]\nv=2.5\n", "1.2.3.4", "Версия 2.5"},
        {"a configuration without a version shows none", "[File]\nf=Client_Z5R.dat\n", "1.2.3.4", ""},
        {"an unreadable version block shows none", nullptr, "not a number", ""},
        {"a blank configuration version shows none", "[Version]\nv=\n", "1.2.3.4", ""},
    };
    for (const auto& c : cases) {
        z5rtest::TempDir folder;
        PutClient(folder, z5r::kDefaultClientFileName, c.clientVersion);
        if (c.config != nullptr) z5rtest::WriteFile(folder, z5r::kLauncherConfigName, c.config);
        EXPECT_EQ(MakeSplashSettings(folder.Str()).versionText, c.versionText) << c.what;
    }
}

TEST(SplashSettings, DefaultsWithoutConfigurationOrClient) {
    z5rtest::TempDir folder;
    const auto settings = MakeSplashSettings(folder.Str());
    EXPECT_EQ(settings.clientFileName, "Client_Z5R.dat");
    EXPECT_EQ(settings.versionText, "");
    EXPECT_EQ(settings.pictureName, "");
}

TEST(SplashSettings, TheConfigurationNamesClientAndPicture) {
    z5rtest::TempDir folder;
    z5rtest::WriteFile(folder, z5r::kLauncherConfigName, "[File]\nf=/opt/other/client\n[Picture]\np=back.png\n");
    const auto settings = MakeSplashSettings(folder.Str());
    EXPECT_EQ(settings.clientFileName, "/opt/other/client");
    EXPECT_EQ(settings.pictureName, "back.png");
}

TEST(SplashSettings, FilesAreFoundBesideTheLauncherElseUnderTheirOwnName) {
    z5rtest::TempDir launcher;
    z5rtest::TempDir elsewhere;
    const std::string beside = z5rtest::WriteFile(launcher, "back.png", "x");
    const std::string absolute = z5rtest::WriteFile(elsewhere, "other.png", "x");
    std::filesystem::create_directory(launcher.Str() + "/folder.png");
    const struct {
        std::string name;
        std::optional<std::string> found;
    } cases[] = {
        {"back.png", beside},
        {absolute, absolute},
        {"absent.png", std::nullopt},
        {"", std::nullopt},
        {"folder.png", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveExistingFile(launcher.Str(), c.name), c.found) << c.name;
}

}  // namespace

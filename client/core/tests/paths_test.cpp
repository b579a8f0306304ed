// The folders unit with HOME and the XDG variables pointed at a temporary
// folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/paths.h"
#include "temp_dir.h"

namespace coretest {
namespace {

namespace fs = std::filesystem;
using namespace z5r;

// Sets an environment variable for the life of the object.
class CEnvironmentValue {
public:
    CEnvironmentValue(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~CEnvironmentValue() { Set(old_); }
    void Set(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(temp / "home/Documents");
        fs::create_directories(temp / "app");
        fs::create_directories(temp / "cfg");
        SetApplicationDirOverride(temp / "app");
    }
    void TearDown() override { SetApplicationDirOverride(""); }

    CTempDir temp;
    CEnvironmentValue home{"HOME", temp / "home"};
    CEnvironmentValue configHome{"XDG_CONFIG_HOME", temp / "cfg"};
};

TEST_F(PathsTest, EveryFolderKindHasItsPlace) {
    const std::string cfg = temp / "cfg";
    EXPECT_EQ(GetVxDir(dirApplication), temp / "app");
    EXPECT_EQ(GetVxDir(dirVendor), cfg + "/Korvel");
    EXPECT_EQ(GetVxDir(dirConfig), cfg + "/Korvel/Z5R_Client");
    EXPECT_EQ(GetVxDir(dirHelp), temp / "app/help");
    EXPECT_EQ(GetVxDir(dirUser), temp / "home/Documents/z5r_client");
    EXPECT_EQ(GetVxDir(dirProfiles), cfg + "/Korvel/Z5R_Client/profiles");
    EXPECT_EQ(GetVxDir(dirDefProfiles), cfg + "/Korvel/Z5R_Client/defprofiles");
    EXPECT_EQ(GetVxDir(static_cast<EDirectories>(7)), "");
    EXPECT_EQ(GetVxDir(static_cast<EDirectories>(-1)), "");
    EXPECT_EQ(GetConfigFileName(), cfg + "/Korvel/Z5R_Client/config.xml");
}

TEST_F(PathsTest, TheEnvironmentIsAskedAtEveryCall) {
    configHome.Set(std::nullopt);
    EXPECT_EQ(GetVxDir(dirVendor), temp / "home/.config/Korvel");
    configHome.Set("relative/cfg");  // not absolute: ignored as the XDG rules say
    EXPECT_EQ(GetVxDir(dirVendor), temp / "home/.config/Korvel");
    configHome.Set(temp / "cfg//");
    EXPECT_EQ(GetVxDir(dirVendor), temp / "cfg/Korvel");
    home.Set(temp / "home/");
    EXPECT_EQ(GetVxDir(dirUser), temp / "home/Documents/z5r_client");
}

TEST_F(PathsTest, TheDocumentsFolderComesFromUserDirsWhenItIsThere) {
    WriteFile(temp / "cfg/user-dirs.dirs",
              "# written by xdg-user-dirs-update\n"
              "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(GetVxDir(dirUser), temp / "home/Dokumente/z5r_client");
    WriteFile(temp / "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + (temp / "docs") + "\"\n");
    EXPECT_EQ(GetVxDir(dirUser), temp / "docs/z5r_client");
}

TEST_F(PathsTest, TheApplicationFolderIsTheRunningProgramsWithoutOverride) {
    SetApplicationDirOverride("");
    EXPECT_EQ(GetVxDir(dirApplication), fs::canonical("/proc/self/exe").parent_path().string());
}

TEST_F(PathsTest, TokensExpandCaseInsensitively) {
    EXPECT_EQ(FormatPath("[CONFIG]/config.xml"), GetConfigFileName());
    EXPECT_EQ(FormatPath("[Application]/x;[user]/y"), (temp / "app/x;") + (temp / "home/Documents/z5r_client/y"));
    EXPECT_EQ(FormatPath("[defprofiles]/profile.z5p"), GetVxDir(dirDefProfiles) + "/profile.z5p");
    EXPECT_EQ(FormatPath("[help]"), GetVxDir(dirHelp));
    EXPECT_EQ(FormatPath(""), "");
    EXPECT_EQ(FormatPath("/plain/path"), "/plain/path");
}

TEST_F(PathsTest, FoldersBecomeTokensInnermostFirst) {
    EXPECT_EQ(UnformatPath(GetVxDir(dirProfiles) + "/a.z5p"), "[profiles]/a.z5p");
    EXPECT_EQ(UnformatPath(GetVxDir(dirDefProfiles) + "/profile.z5p"), "[defprofiles]/profile.z5p");
    EXPECT_EQ(UnformatPath(GetConfigFileName()), "[config]/config.xml");
    EXPECT_EQ(UnformatPath(GetVxDir(dirHelp) + "/index.html"), "[help]/index.html");
    EXPECT_EQ(UnformatPath(GetVxDir(dirApplication) + "/default.z5p"), "[application]/default.z5p");
    EXPECT_EQ(UnformatPath(GetVxDir(dirUser) + "/list.srf"), "[user]/list.srf");
    EXPECT_EQ(UnformatPath("/elsewhere/list.srf"), "/elsewhere/list.srf");
    // Round trip.
    const std::string file = GetVxDir(dirProfiles) + "/b.z5p";
    EXPECT_EQ(FormatPath(UnformatPath(file)), file);
}

TEST(ReplaceStringTest, ReplacesEveryOccurrenceIgnoringCase) {
    struct SCase {
        const char* text;
        const char* searched;
        const char* replacement;
        const char* expected;
    };
    const SCase cases[] = {
        {"[config]/a", "[config]", "/c", "/c/a"},
        {"[Config]/a;[CONFIG]/b", "[config]", "/c", "/c/a;/c/b"},
        {"ПАПКА/Файл", "папка", "dir", "dir/Файл"},
        {"Ёлка и ёлка", "ЁЛКА", "ель", "ель и ель"},
        {"aXa", "a", "aa", "aaXaa"},            // the replacement holds the searched text: ends
        {"[user]", "[user]", "[USER]/[user]", "[USER]/[user]"},
        {"abc", "", "x", "abc"},                // nothing to search
        {"aaaa", "aa", "b", "bb"},
        {"aabb", "ab", "", ""},                 // a replacement joining its neighbours is searched again
        {"xAaBby", "ab", "", "xy"},
        {"aabb", "ab", "a", "aa"},
        {"xyz", "q", "r", "xyz"},
        {"", "a", "b", ""},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(z5r::ReplaceString(c.text, c.searched, c.replacement), c.expected) << c.text;
    }
}

TEST_F(PathsTest, EnsureDirCreatesOneLevel) {
    EXPECT_EQ(EnsureDir(temp.Path()), 0);
    EXPECT_EQ(EnsureDir(temp / "new"), 0);
    EXPECT_TRUE(fs::is_directory(temp / "new"));
    EXPECT_EQ(EnsureDir(temp / "missing/child"), 1);
    EXPECT_FALSE(fs::exists(temp / "missing"));
    WriteFile(temp / "file", "x");
    EXPECT_EQ(EnsureDir(temp / "file"), 1);
}

TEST_F(PathsTest, CopyIfMissingNeverOverwrites) {
    WriteFile(temp / "source.xml", "shipped");
    EXPECT_EQ(CopyIfMissing(temp / "copy.xml", temp / "source.xml"), 0);
    EXPECT_EQ(ReadFile(temp / "copy.xml"), "shipped");
    WriteFile(temp / "copy.xml", "edited");
    EXPECT_EQ(CopyIfMissing(temp / "copy.xml", temp / "source.xml"), 0);
    EXPECT_EQ(ReadFile(temp / "copy.xml"), "edited");
    EXPECT_EQ(CopyIfMissing(temp / "other.xml", temp / "absent.xml"), 1);
    EXPECT_FALSE(fs::exists(temp / "other.xml"));
}

TEST_F(PathsTest, UserProfilesAreAllocatedOnceAndLeftAloneAfterwards) {
    fs::create_directories(temp / "app/config");
    WriteFile(temp / "app/config/config.xml", "<config/>");
    EXPECT_EQ(AllocateUserProfiles(), 0);
    for (EDirectories dir : {dirVendor, dirConfig, dirDefProfiles, dirProfiles, dirUser})
        EXPECT_TRUE(fs::is_directory(GetVxDir(dir))) << dir;
    EXPECT_EQ(ReadFile(GetConfigFileName()), "<config/>");

    WriteFile(GetConfigFileName(), "<config edited=\"1\"/>");
    EXPECT_EQ(AllocateUserProfiles(), 0);
    EXPECT_EQ(ReadFile(GetConfigFileName()), "<config edited=\"1\"/>");
}

TEST_F(PathsTest, AllocationStopsAtTheFirstFailure) {
    // No shipped config/config.xml: the copy fails before the profile folders.
    EXPECT_EQ(AllocateUserProfiles(), 1);
    EXPECT_TRUE(fs::is_directory(GetVxDir(dirConfig)));
    EXPECT_FALSE(fs::exists(GetVxDir(dirDefProfiles)));
}

TEST(PathsNamesTest, DefaultAddressAndFileNameParts) {
    EXPECT_EQ(z5r::GetDefaultAddress(), "169.254.0.254");
    EXPECT_EQ(z5r::GetDefaultAddressName(), "Адрес по умолчанию");
    struct SCase {
        const char* path;
        const char* name;
        const char* ext;
        const char* full;
    };
    const SCase cases[] = {
        {"/a/b/list.srf", "list", "srf", "list.srf"},
        {"packet.ppl", "packet", "ppl", "packet.ppl"},
        {"/a.b/archive.tar.gz", "archive.tar", "gz", "archive.tar.gz"},
        {"/a.b/noext", "noext", "", "noext"},
        {"/a/", "", "", ""},
        {"/a/.hidden", "", "hidden", ".hidden"},
        {"/a/список.csv", "список", "csv", "список.csv"},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(z5r::ExExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(z5r::ExExtractFileExt(c.path), c.ext) << c.path;
        EXPECT_EQ(z5r::ExExtractFullFileName(c.path), c.full) << c.path;
    }
}

}  // namespace
}  // namespace coretest

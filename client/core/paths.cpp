#include "core/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <system_error>
#include <utility>

#include "z5r/i18n.h"

namespace z5r {
namespace {

std::mutex& OverrideMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& ApplicationDirOverride() {
    static std::string dir;
    return dir;
}

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// A folder below `base`; with an empty base the result stays relative, as a
// path built on a folder the system could not supply.
std::string Join(const std::string& base, const char* name) {
    return base.empty() ? std::string(name) : base + "/" + name;
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeDir() {
    std::string home = EnvironmentValue("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) home = entry->pw_dir;
    }
    return WithoutTrailingSeparator(home);
}

std::string RunningProgramDir() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return WithoutTrailingSeparator(program.parent_path().string());
}

// Per-user application data: $XDG_CONFIG_HOME (absolute only, as the XDG
// rules say), else ~/.config.
std::string AppDataDir() {
    const std::string configHome = EnvironmentValue("XDG_CONFIG_HOME");
    if (!configHome.empty() && configHome.front() == '/') return WithoutTrailingSeparator(configHome);
    const std::string home = HomeDir();
    return home.empty() ? std::string() : home + "/.config";
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs: a quoted "$HOME/…" or
// absolute path. Empty when the file or the line is absent.
std::string DocumentsFromUserDirs(const std::string& home) {
    const std::string appData = AppDataDir();
    if (appData.empty()) return {};
    std::ifstream file(appData + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    std::string found;
    while (std::getline(file, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) continue;
            value = home + value.substr(5);
        }
        if (!value.empty() && value.front() == '/') found = value;  // the last entry wins
    }
    return WithoutTrailingSeparator(found);
}

std::string DocumentsDir() {
    const std::string home = HomeDir();
    std::string documents = DocumentsFromUserDirs(home);
    if (!documents.empty()) return documents;
    return home.empty() ? std::string() : home + "/Documents";
}

// Lower case for ASCII and Cyrillic letters without changing any byte
// length, so positions in the folded text are positions in the original.
std::string FoldCase(const std::string& text) {
    std::string folded = text;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte - 'A' + 'a');
        } else if (byte == 0xD0 && i + 1 < folded.size()) {
            const auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x90 && next <= 0x9F) {  // А..П → а..п
                folded[i + 1] = static_cast<char>(next + 0x20);
            } else if (next >= 0xA0 && next <= 0xAF) {  // Р..Я → р..я
                folded[i] = static_cast<char>(0xD1);
                folded[i + 1] = static_cast<char>(next - 0x20);
            } else if (next >= 0x80 && next <= 0x8F) {  // Ѐ..Џ → ѐ..џ
                folded[i] = static_cast<char>(0xD1);
                folded[i + 1] = static_cast<char>(next + 0x10);
            }
            ++i;
        }
    }
    return folded;
}

struct STokenFolder {
    const char* token;
    EDirectories dir;
};

// Expansion order of the tokens.
constexpr std::array<STokenFolder, 6> kTokens = {{
    {"[application]", dirApplication},
    {"[config]", dirConfig},
    {"[help]", dirHelp},
    {"[user]", dirUser},
    {"[profiles]", dirProfiles},
    {"[defprofiles]", dirDefProfiles},
}};

// Nested folders before the folders that contain them.
constexpr std::array<STokenFolder, 6> kFoldersInnermostFirst = {{
    {"[defprofiles]", dirDefProfiles},
    {"[profiles]", dirProfiles},
    {"[user]", dirUser},
    {"[help]", dirHelp},
    {"[config]", dirConfig},
    {"[application]", dirApplication},
}};

}  // namespace

void SetApplicationDirOverride(const std::string& dir) {
    std::lock_guard lock(OverrideMutex());
    ApplicationDirOverride() = WithoutTrailingSeparator(dir);
}

std::string GetVxDir(EDirectories dir) {
    switch (dir) {
    case dirApplication: {
        {
            std::lock_guard lock(OverrideMutex());
            if (!ApplicationDirOverride().empty()) return ApplicationDirOverride();
        }
        return RunningProgramDir();
    }
    case dirVendor:
        return Join(AppDataDir(), "Korvel");
    case dirConfig:
        return Join(GetVxDir(dirVendor), "Z5R_Client");
    case dirHelp:
        return Join(GetVxDir(dirApplication), "help");
    case dirUser:
        return Join(DocumentsDir(), "z5r_client");
    case dirProfiles:
        return Join(GetVxDir(dirConfig), "profiles");
    case dirDefProfiles:
        return Join(GetVxDir(dirConfig), "defprofiles");
    }
    return {};
}

std::string GetConfigFileName() { return GetVxDir(dirConfig) + "/config.xml"; }

int EnsureDir(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return 0;
    if (mkdir(path.c_str(), 0777) == 0) return 0;
    // Someone else may have created it in between.
    if (errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return 0;
    return 1;
}

int CopyIfMissing(const std::string& destination, const std::string& source) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(destination, error))) return 0;
    if (!std::filesystem::copy_file(source, destination, std::filesystem::copy_options::none, error))
        return 1;
    return 0;
}

std::string ReplaceString(const std::string& text, const std::string& searched,
                          const std::string& replacement) {
    if (searched.empty()) return text;
    const std::string key = FoldCase(searched);
    const std::string foldedReplacement = FoldCase(replacement);
    std::string result = text;
    std::string folded = FoldCase(text);
    // A replacement can join with its neighbours into a new occurrence, which
    // is replaced too; only the part that can hold one is searched again. A
    // replacement holding the searched text itself would never end: the search
    // goes on after it instead.
    const bool selfContaining = foldedReplacement.find(key) != std::string::npos;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = folded.find(key, from);
        if (at == std::string::npos) break;
        result.replace(at, searched.size(), replacement);
        folded.replace(at, key.size(), foldedReplacement);
        from = selfContaining ? at + replacement.size() : (at >= key.size() ? at - key.size() + 1 : 0);
    }
    return result;
}

std::string FormatPath(const std::string& text) {
    std::string result = text;
    for (const STokenFolder& entry : kTokens) {
        if (result.empty()) break;
        result = ReplaceString(result, entry.token, GetVxDir(entry.dir));
    }
    return result;
}

std::string UnformatPath(const std::string& text) {
    std::string result = text;
    for (const STokenFolder& entry : kFoldersInnermostFirst) {
        result = ReplaceString(result, GetVxDir(entry.dir), entry.token);
    }
    return result;
}

int AllocateUserProfiles() {
    if (EnsureDir(GetVxDir(dirVendor)) != 0) return 1;
    if (EnsureDir(GetVxDir(dirConfig)) != 0) return 1;
    if (CopyIfMissing(GetConfigFileName(), GetVxDir(dirApplication) + "/config/config.xml") != 0)
        return 1;
    if (EnsureDir(GetVxDir(dirDefProfiles)) != 0) return 1;
    if (EnsureDir(GetVxDir(dirProfiles)) != 0) return 1;
    if (EnsureDir(GetVxDir(dirUser)) != 0) return 1;
    return 0;
}

std::string GetDefaultAddressName() { return Tr("Адрес по умолчанию"); }

std::string GetDefaultAddress() { return "169.254.0.254"; }

namespace {

// The name part of a path: everything after the last folder separator.
std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ExExtractFileName(const std::string& path) {
    const std::string name = FileNamePart(path);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ExExtractFileExt(const std::string& path) {
    const std::string name = FileNamePart(path);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string ExExtractFullFileName(const std::string& path) {
    // Name + "." + extension, which is the name part itself; without an
    // extension no dot is added (on this platform "name." is another file).
    return FileNamePart(path);
}

}  // namespace z5r

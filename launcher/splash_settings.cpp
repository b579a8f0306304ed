#include "splash_settings.h"

#include <filesystem>

#include "z5r/i18n.h"

namespace z5r {

namespace {

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string InFolder(const std::string& folder, const std::string& name) { return folder + "/" + name; }

}  // namespace

std::string VersionText(const std::string& version) {
    if (version.empty()) return {};
    return Tr("Версия ") + version;
}

std::string ShortVersion(const std::optional<SVersionInfo>& block) {
    if (!block) return {};
    const auto fixed = ParseFixedVersion(block->fileVersion);
    if (!fixed) return {};
    return std::to_string(fixed->major) + "." + std::to_string(fixed->minor);
}

std::optional<std::string> ResolveExistingFile(const std::string& folder, const std::string& name) {
    if (name.empty()) return std::nullopt;
    if (IsFile(InFolder(folder, name))) return InFolder(folder, name);
    if (IsFile(name)) return name;
    return std::nullopt;
}

SSplashSettings MakeSplashSettings(const std::string& folder) {
    SSplashSettings settings;
    const std::string configPath = InFolder(folder, kLauncherConfigName);
    if (IsFile(configPath)) {
        const SLauncherConfig config = ReadLauncherConfigFile(configPath);
        if (config.file) settings.clientFileName = *config.file;
        settings.versionText = VersionText(config.version.value_or(""));
        settings.pictureName = config.picture.value_or("");
    } else if (IsFile(InFolder(folder, settings.clientFileName))) {
        settings.versionText = VersionText(ShortVersion(ReadVersionBlock(InFolder(folder, settings.clientFileName))));
    }
    return settings;
}

}  // namespace z5r

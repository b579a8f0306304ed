#include "launcher_config.h"

#include <ini.h>
#include <strings.h>

#include <cstdio>

namespace z5r {

namespace {

constexpr const char* kFileSection = "File";
constexpr const char* kVersionSection = "Version";
constexpr const char* kPictureSection = "Picture";

// Section names are compared without regard to case, as initialization files
// are read.
bool SameName(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

void KeepFirst(std::optional<std::string>& setting, const char* value) {
    if (!setting) setting = value;
}

int TakeEntry(void* user, const char* section, const char* name, const char* value) {
    auto& config = *static_cast<SLauncherConfig*>(user);
    if (section == nullptr || name == nullptr || value == nullptr) return 1;
    if (SameName(section, kFileSection)) KeepFirst(config.file, value);
    else if (SameName(section, kVersionSection)) KeepFirst(config.version, value);
    else if (SameName(section, kPictureSection)) KeepFirst(config.picture, value);
    return 1;  // a malformed line is skipped, the rest is still read
}

}  // namespace

SLauncherConfig ReadLauncherConfigFile(const std::string& path) {
    SLauncherConfig config;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        ini_parse_file(file, TakeEntry, &config);
        std::fclose(file);
    }
    return config;
}

SLauncherConfig ParseLauncherConfig(const std::string& text) {
    SLauncherConfig config;
    ini_parse_string(text.c_str(), TakeEntry, &config);
    return config;
}

}  // namespace z5r

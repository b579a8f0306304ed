// The launcher's configuration file "Z5R_Client.cfg": each setting is a
// section whose value is that of its first entry in file order, whatever the
// entry is called.
#pragma once

#include <optional>
#include <string>

namespace z5r {

inline constexpr const char* kLauncherConfigName = "Z5R_Client.cfg";

struct SLauncherConfig {
    // Nothing when the section is absent or has no entry.
    std::optional<std::string> file;     // "File": the client file to start
    std::optional<std::string> version;  // "Version": text shown after "Версия "
    std::optional<std::string> picture;  // "Picture": replaces the built-in background
};

// The settings of the file at `path`; a file that cannot be read, or is no
// initialization file, gives no settings.
SLauncherConfig ReadLauncherConfigFile(const std::string& path);

// The same from the text of such a file.
SLauncherConfig ParseLauncherConfig(const std::string& text);

}  // namespace z5r

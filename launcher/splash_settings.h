// What the splash window shows and starts, decided from the launcher's folder:
// the configuration file when there is one, else the client file's version
// block.
#pragma once

#include <optional>
#include <string>

#include "launcher_config.h"
#include "z5r/version_block.h"

namespace z5r {

inline constexpr const char* kDefaultClientFileName = "Client_Z5R.dat";

struct SSplashSettings {
    std::string clientFileName = kDefaultClientFileName;
    std::string versionText;  // as shown; empty when there is no version to show
    std::string pictureName;  // empty: the built-in background
};

// The settings for a launcher in `folder`.
SSplashSettings MakeSplashSettings(const std::string& folder);

// "Версия " (through the catalogue) followed by `version`; an empty text when
// there is no version to show, rather than the bare word.
std::string VersionText(const std::string& version);

// "major.minor" of the block's file version; empty without a block or with a
// file version that is no version number.
std::string ShortVersion(const std::optional<SVersionInfo>& block);

// `folder` + "/" + `name` when that file exists, else `name` itself when it
// names an existing file, else nothing. An empty name names nothing.
std::optional<std::string> ResolveExistingFile(const std::string& folder, const std::string& name);

}  // namespace z5r

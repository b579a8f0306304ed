// The folders the client works in, the connection dialog's settings file, and
// the conversion between real paths and paths written with folder tokens.
// Folders are returned without a trailing "/".
#pragma once

#include <string>

namespace z5r {

enum EDirectories : int {
    dirApplication = 0,  // "[application]": folder of the running program
    dirVendor = 1,       // per-user application data folder + "/Korvel"
    dirConfig = 2,       // "[config]": vendor folder + "/Z5R_Client"
    dirHelp = 3,         // "[help]": application folder + "/help"
    dirUser = 4,         // "[user]": documents folder + "/z5r_client"
    dirProfiles = 5,     // "[profiles]": configuration folder + "/profiles"
    dirDefProfiles = 6,  // "[defprofiles]": configuration folder + "/defprofiles"
};

// The folder of `dir`; an empty text for a value outside the enumeration.
// The per-user application data folder is $XDG_CONFIG_HOME (else ~/.config),
// the documents folder XDG_DOCUMENTS_DIR of $XDG_CONFIG_HOME/user-dirs.dirs
// (else ~/Documents), both looked up at every call.
std::string GetVxDir(EDirectories dir);

// Replaces the folder of the running program (for tests and for programs that
// stand in for the client); an empty text restores the real one.
void SetApplicationDirOverride(const std::string& dir);

// GetVxDir(dirConfig) + "/config.xml".
std::string GetConfigFileName();

// 0 when the folder exists or was created, 1 when creating it failed. One
// level only: the parent must exist.
int EnsureDir(const std::string& path);

// 0 when `destination` exists or the copy succeeded, 1 when the copy failed.
// An existing destination is never overwritten.
int CopyIfMissing(const std::string& destination, const std::string& source);

// Replaces the folder tokens ("[application]", "[config]", "[help]", "[user]",
// "[profiles]", "[defprofiles]") by their folders, case-insensitively.
std::string FormatPath(const std::string& text);

// The reverse: folders found in the text become tokens, nested folders first.
std::string UnformatPath(const std::string& text);

// Replaces every occurrence of `searched` (compared case-insensitively for
// Latin and Cyrillic letters) by `replacement`, inserted unchanged; scanning
// goes on after the inserted text, so it ends also when the replacement
// contains the searched text.
std::string ReplaceString(const std::string& text, const std::string& searched,
                          const std::string& replacement);

// Creates the per-user folders and the first copy of the connection settings
// file; 0 on success, 1 at the first failure.
int AllocateUserProfiles();

// The instrument's factory network address and its (translated) name.
std::string GetDefaultAddressName();
std::string GetDefaultAddress();

// "/a/b/name.ext" → "name", "ext", "name.ext" (no dot added without an
// extension).
std::string ExExtractFileName(const std::string& path);
std::string ExExtractFileExt(const std::string& path);
std::string ExExtractFullFileName(const std::string& path);

}  // namespace z5r

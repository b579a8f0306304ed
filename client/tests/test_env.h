// Temporary folders and environment variables for the window tests.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace z5rtest {

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/z5r_windows_XXXXXX";
        if (mkdtemp(pattern) != nullptr) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// Sets (or, with nullopt, removes) an environment variable and restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value) setenv(name, value->c_str(), 1); else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1); else unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// HOME and the XDG folders of one test, all inside a temporary folder.
class UserFolders {
public:
    UserFolders()
        : home_("HOME", dir_.Str()),
          config_("XDG_CONFIG_HOME", (dir_.Path() / "config").string()),
          runtime_("XDG_RUNTIME_DIR", dir_.Str()) {
        std::filesystem::create_directories(ConfigHome());
    }

    const std::filesystem::path& Root() const { return dir_.Path(); }
    std::filesystem::path ConfigHome() const { return dir_.Path() / "config"; }

private:
    TempDir dir_;
    ScopedEnv home_;
    ScopedEnv config_;
    ScopedEnv runtime_;
};

}  // namespace z5rtest

// A fresh folder under /tmp for one test, removed with everything in it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace z5rtest {

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/z5r_launcher_XXXXXX";
        if (mkdtemp(pattern) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Str() const { return path_.string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        const auto path = path_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

private:
    std::filesystem::path path_;
};

}  // namespace z5rtest

namespace z5rtest {

// Sets an environment variable for the life of the object, then restores it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = getenv(name)) {
            old_ = old;
            hadOld_ = true;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (hadOld_) setenv(name_.c_str(), old_.c_str(), 1); else unsetenv(name_.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace z5rtest

// Real files and folders for the loader tests, removed when done.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace protocollib_test {

// A fresh folder under the system's temporary folder.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes `content` to `name` inside the folder and returns its full path.
    std::string Write(const std::string& name, std::string_view content) const;

private:
    std::filesystem::path path_;
};

// Makes `directory` the working directory until destroyed.
class CWorkingDirectory {
public:
    explicit CWorkingDirectory(const std::filesystem::path& directory);
    ~CWorkingDirectory();
    CWorkingDirectory(const CWorkingDirectory&) = delete;
    CWorkingDirectory& operator=(const CWorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

void WriteFile(const std::filesystem::path& path, std::string_view content);

// A small valid description: one command, one parameter, one status.
std::string TinyDescription(std::string_view commandName, int commandValue);

}  // namespace protocollib_test

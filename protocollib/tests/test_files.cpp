#include "test_files.h"

#include <stdlib.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace protocollib_test {

CTempDir::CTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "protocollib.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    path_ = pattern;
}

CTempDir::~CTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string CTempDir::Write(const std::string& name, std::string_view content) const {
    const auto path = path_ / name;
    WriteFile(path, content);
    return path.string();
}

CWorkingDirectory::CWorkingDirectory(const std::filesystem::path& directory)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
}

CWorkingDirectory::~CWorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

std::string TinyDescription(std::string_view commandName, int commandValue) {
    return "<protocol version=\"1\"><commands><command name=\"" + std::string(commandName) +
           "\" value=\"" + std::to_string(commandValue) +
           "\"/></commands><parameters><parameter name=\"P_ONE\" id=\"1\" size=\"2\" "
           "fract=\"1\"/></parameters><statuses><status name=\"S_ONE\" value=\"-1\"/>"
           "</statuses></protocol>";
}

}  // namespace protocollib_test

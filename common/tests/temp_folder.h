// A unique temporary folder removed with everything in it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace commontest {

class CTempFolder {
public:
    CTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel_common_XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~CTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // How many entries the folder holds (a temporary file left behind shows).
    std::size_t EntryCount() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_)) ++count;
        return count;
    }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace commontest

// Files of one test, in the temporary folders of the client's test support.
#pragma once

#include <fstream>
#include <string>

#include "test_env.h"

namespace z5rtest {

// Writes `bytes` into `dir`/`name` and returns the file's path.
inline std::string WriteFile(const TempDir& dir, const std::string& name, const std::string& bytes) {
    const auto path = dir.Path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

}  // namespace z5rtest

// Writing a file so that a crash, a kill or a full disk during the write
// leaves the previous content whole: the bytes go to a temporary file beside
// the target, reach the disk, and only then replace the target by a rename.
#pragma once

#include <string>
#include <string_view>

namespace VxCore {

// True when `bytes` are the file's whole content and on disk. On false the
// file at `path` is as it was and no temporary file is left behind.
bool ReplaceFileContent(const std::string& path, std::string_view bytes);

}  // namespace VxCore

// Finding and reading a description file on disk.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace protocollib {

// A description is a few tens of kilobytes; anything far larger is not one.
inline constexpr std::size_t kMaxDescriptionBytes = 16u << 20;

// Where a file name is looked for, in order: an absolute name only as given;
// a relative one in the working directory, then beside this library, then
// in the running program's folder.
std::vector<std::string> DescriptionCandidates(const std::string& fileName);

// The first candidate that is an existing regular file.
std::optional<std::string> FindDescriptionFile(const std::string& fileName);

// The whole content of a regular file of at most kMaxDescriptionBytes.
std::optional<std::string> ReadDescriptionFile(const std::string& path);

}  // namespace protocollib

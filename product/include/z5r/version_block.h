// The version block every program file of the product carries: product name,
// product version and file version, kept as "key=value" texts in the ELF
// section ".z5r_version" (`readelf -p .z5r_version FILE` shows it). One
// reader serves the launcher, which reads the client's file, and the about
// window, which reads the running program's own file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace z5r {

inline constexpr const char* kVersionSectionName = ".z5r_version";
// The first text of the section; a section without it is no version block.
inline constexpr std::string_view kVersionBlockMagic = "Z5R-VERSION-1";

struct SVersionInfo {
    std::string productName;
    std::string productVersion;
    std::string fileVersion;
};

// The four numbers of a version text "a.b.c.d" (missing trailing numbers are
// 0), each 0..65535.
struct SFixedVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// The version block of the ELF file at `path`; nothing for a missing or
// unreadable file, a file that is no ELF file, or one without a block.
std::optional<SVersionInfo> ReadVersionBlock(const std::string& path);

// The version block of the running program's own file.
std::optional<SVersionInfo> ReadOwnVersionBlock();

// Reads `size` bytes at `offset` into `out`; false when the source is shorter.
using ElfByteSource = std::function<bool(std::uint64_t offset, std::size_t size, char* out)>;

// The same from any byte source (a file, or bytes in memory).
std::optional<SVersionInfo> ReadVersionBlockFrom(const ElfByteSource& source);

// The block's content (the bytes of the section) to its values; nothing
// without the magic text.
std::optional<SVersionInfo> ParseVersionBlock(std::string_view content);

// "1.2.3.4" → {1, 2, 3, 4}; nothing for a text that is not one to four
// numbers separated by dots, or a number above 65535.
std::optional<SFixedVersion> ParseFixedVersion(std::string_view text);

}  // namespace z5r

#include "z5r/version_block.h"

#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <vector>

namespace z5r {

namespace {

// Bounds that keep a hostile file from making us read or allocate much.
constexpr std::size_t kMaxSectionCount = 65535;
constexpr std::uint64_t kMaxNameTableSize = 1u << 20;
constexpr std::uint64_t kMaxBlockSize = 64u << 10;

constexpr std::string_view kProductNameKey = "ProductName";
constexpr std::string_view kProductVersionKey = "ProductVersion";
constexpr std::string_view kFileVersionKey = "FileVersion";

struct SSection {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// The section headers of one ELF class, read into one shape.
template <typename Ehdr, typename Shdr>
std::optional<std::vector<SSection>> ReadSections(const ElfByteSource& source, std::size_t* nameIndex) {
    Ehdr header{};
    if (!source(0, sizeof header, reinterpret_cast<char*>(&header))) return std::nullopt;
    if (header.e_shoff == 0 || header.e_shnum == 0 || header.e_shnum > kMaxSectionCount) return std::nullopt;
    if (header.e_shentsize != sizeof(Shdr) || header.e_shstrndx >= header.e_shnum) return std::nullopt;
    std::vector<SSection> sections;
    sections.reserve(header.e_shnum);
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        Shdr raw{};
        if (!source(header.e_shoff + i * sizeof(Shdr), sizeof raw, reinterpret_cast<char*>(&raw))) return std::nullopt;
        sections.push_back({raw.sh_name, raw.sh_type, raw.sh_offset, raw.sh_size});
    }
    *nameIndex = header.e_shstrndx;
    return sections;
}

std::optional<std::string> ReadBytes(const ElfByteSource& source, std::uint64_t offset, std::uint64_t size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !source(offset, bytes.size(), bytes.data())) return std::nullopt;
    return bytes;
}

std::string_view NameAt(const std::string& names, std::uint32_t offset) {
    if (offset >= names.size()) return {};
    const char* start = names.data() + offset;
    return std::string_view(start, strnlen(start, names.size() - offset));
}

bool IsNativeElf(const unsigned char* ident) {
    if (std::memcmp(ident, ELFMAG, SELFMAG) != 0) return false;
    constexpr unsigned char kNativeData = (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) ? ELFDATA2LSB : ELFDATA2MSB;
    return ident[EI_DATA] == kNativeData;
}

}  // namespace

std::optional<SVersionInfo> ReadVersionBlockFrom(const ElfByteSource& source) {
    unsigned char ident[EI_NIDENT] = {};
    if (!source(0, sizeof ident, reinterpret_cast<char*>(ident)) || !IsNativeElf(ident)) return std::nullopt;

    std::size_t nameIndex = 0;
    std::optional<std::vector<SSection>> sections;
    if (ident[EI_CLASS] == ELFCLASS64) {
        sections = ReadSections<Elf64_Ehdr, Elf64_Shdr>(source, &nameIndex);
    } else if (ident[EI_CLASS] == ELFCLASS32) {
        sections = ReadSections<Elf32_Ehdr, Elf32_Shdr>(source, &nameIndex);
    }
    if (!sections) return std::nullopt;

    const SSection& nameTable = (*sections)[nameIndex];
    if (nameTable.type != SHT_STRTAB || nameTable.size > kMaxNameTableSize) return std::nullopt;
    const auto names = ReadBytes(source, nameTable.offset, nameTable.size);
    if (!names) return std::nullopt;

    for (const SSection& section : *sections) {
        if (NameAt(*names, section.name) != kVersionSectionName) continue;
        if (section.type == SHT_NOBITS || section.size > kMaxBlockSize) return std::nullopt;
        const auto content = ReadBytes(source, section.offset, section.size);
        if (!content) return std::nullopt;
        return ParseVersionBlock(*content);
    }
    return std::nullopt;
}

std::optional<SVersionInfo> ReadVersionBlock(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    const auto fromFile = [fd](std::uint64_t offset, std::size_t size, char* out) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    };
    auto info = ReadVersionBlockFrom(fromFile);
    close(fd);
    return info;
}

std::optional<SVersionInfo> ReadOwnVersionBlock() { return ReadVersionBlock("/proc/self/exe"); }

std::optional<SVersionInfo> ParseVersionBlock(std::string_view content) {
    // NUL-separated texts: the magic, then "key=value" entries in any order.
    std::vector<std::string_view> texts;
    while (!content.empty()) {
        const std::size_t end = content.find('\0');
        texts.push_back(content.substr(0, end));
        if (end == std::string_view::npos) break;
        content.remove_prefix(end + 1);
    }
    if (texts.empty() || texts.front() != kVersionBlockMagic) return std::nullopt;

    SVersionInfo info;
    for (std::size_t i = 1; i < texts.size(); ++i) {
        const std::size_t equals = texts[i].find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = texts[i].substr(0, equals);
        const std::string value(texts[i].substr(equals + 1));
        if (key == kProductNameKey) info.productName = value;
        else if (key == kProductVersionKey) info.productVersion = value;
        else if (key == kFileVersionKey) info.fileVersion = value;
    }
    return info;
}

std::optional<SFixedVersion> ParseFixedVersion(std::string_view text) {
    constexpr std::size_t kParts = 4;
    std::uint16_t parts[kParts] = {};
    std::size_t count = 0;
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    while (true) {
        if (count == kParts) return std::nullopt;
        std::uint16_t value = 0;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || next == at) return std::nullopt;
        parts[count++] = value;
        if (next == end) break;
        if (*next != '.') return std::nullopt;
        at = next + 1;
    }
    return SFixedVersion{parts[0], parts[1], parts[2], parts[3]};
}

}  // namespace z5r

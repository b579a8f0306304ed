// Any bytes as a program file: the reader must stay inside them and never
// crash, whatever the headers claim.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "z5r/version_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fromMemory = [data, size](std::uint64_t offset, std::size_t count, char* out) {
        if (offset > size || count > size - offset) return false;
        std::memcpy(out, data + offset, count);
        return true;
    };
    if (const auto info = z5r::ReadVersionBlockFrom(fromMemory)) {
        (void)z5r::ParseFixedVersion(info->fileVersion);
    }
    (void)z5r::ParseVersionBlock(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}

// Any bytes as the launcher's configuration file: the reader takes what it
// can and never crashes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto config = z5r::ParseLauncherConfig(std::string(reinterpret_cast<const char*>(data), size));
    (void)config;
    return 0;
}

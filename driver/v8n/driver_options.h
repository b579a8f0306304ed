// The option string of Initialize: comma-separated items, any case, blanks
// ignored. "GENERATOR" selects the generator personality; "Timeout=<ms>"
// sets the transfer time-out.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvel::v8n {

inline constexpr std::uint32_t kDefaultTimeoutMs = 2000;

struct SDriverOptions {
    bool generator = false;
    std::uint32_t timeoutMs = kDefaultTimeoutMs;
};

// Nothing when an item is unknown or a value is not acceptable.
std::optional<SDriverOptions> ParseDriverOptions(std::string_view text);

}  // namespace korvel::v8n

#include "driver_options.h"

#include <cctype>
#include <charconv>
#include <string>

namespace korvel::v8n {
namespace {

// One time-out bound for everything: longer waits would look like a hang.
constexpr std::uint32_t kLongestTimeoutMs = 600000;

std::string Normalized(std::string_view item) {
    std::string out;
    for (const char c : item) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return out;
}

std::optional<std::uint32_t> ParseTimeout(std::string_view digits) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    if (value == 0 || value > kLongestTimeoutMs) return std::nullopt;
    return value;
}

}  // namespace

std::optional<SDriverOptions> ParseDriverOptions(std::string_view text) {
    constexpr std::string_view kTimeoutKey = "TIMEOUT=";
    SDriverOptions options;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string item = Normalized(text.substr(0, comma));
        if (item == "GENERATOR") {
            options.generator = true;
        } else if (item.starts_with(kTimeoutKey)) {
            const auto timeout = ParseTimeout(std::string_view(item).substr(kTimeoutKey.size()));
            if (!timeout) return std::nullopt;
            options.timeoutMs = *timeout;
        } else if (!item.empty()) {
            return std::nullopt;
        }
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return options;
}

}  // namespace korvel::v8n

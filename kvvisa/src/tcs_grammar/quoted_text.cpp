#include "quoted_text.h"

#include <cstdio>

namespace kv {

std::string Quoted(std::string_view text, std::size_t maxLength) {
    constexpr unsigned char kFirstPrintable = 0x20;
    constexpr unsigned char kDelete = 0x7F;
    std::string quoted = "\"";
    std::size_t shown = 0;
    for (const char c : text) {
        if (shown == maxLength) {
            quoted += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kFirstPrintable || byte >= kDelete) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
        ++shown;
    }
    quoted += '"';
    return quoted;
}

}  // namespace kv

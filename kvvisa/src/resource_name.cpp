#include "resource_name.h"

#include <climits>

#include "kvvisa/visa.h"

namespace kv {

std::vector<std::string> SplitResource(std::string_view name) {
    std::vector<std::string> tokens;
    for (;;) {
        const auto first = name.find(':');
        const auto last = name.rfind(':');
        if (first == last) {  // one colon or none: the rest is the last token
            tokens.emplace_back(name);
            return tokens;
        }
        if (name[first + 1] != ':') return {};
        tokens.emplace_back(name.substr(0, first));
        name.remove_prefix(first + 2);
    }
}

long long ParseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (value > (LLONG_MAX - digit) / 10) {
            value = LLONG_MAX;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::string ToUpper(std::string_view text) {
    std::string upper(text);
    for (auto& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::optional<ResourceInfo> CheckResource(std::string_view name) {
    const auto tokens = SplitResource(name);
    if (tokens.size() < 2) return std::nullopt;

    const std::string& board = tokens[0];
    const auto digits = board.find_first_of("0123456789");
    const std::string prefix = ToUpper(board.substr(0, digits == std::string::npos ? board.size() : digits));
    if (digits != std::string::npos &&
        board.find_first_not_of("0123456789", digits) != std::string::npos) {
        return std::nullopt;
    }

    ResourceInfo info;
    size_t classPosition = 0;
    const char* expectedClass = nullptr;
    if (prefix == "TCPIP") {
        info.interfaceType = VI_INTF_TCPIP;
        classPosition = 4;
        expectedClass = "SOCKET";
    } else if (prefix == "USB") {
        info.interfaceType = VI_INTF_USB;
        classPosition = 5;
        expectedClass = "RAW";
    } else if (prefix == "ASRL") {
        info.interfaceType = VI_INTF_ASRL;
        classPosition = 2;
        expectedClass = "INSTR";
    } else {
        return std::nullopt;
    }
    if (tokens.size() < classPosition) return std::nullopt;

    info.resourceClass = ToUpper(tokens[classPosition - 1]);
    if (info.resourceClass != expectedClass) return std::nullopt;
    if (info.interfaceType == VI_INTF_TCPIP && ParseDecimal(tokens[2]) == 0) return std::nullopt;
    return info;
}

ELayer LayerOf(const std::vector<std::string>& tokens) {
    if (tokens.empty()) return ELayer::None;
    const std::string& last = tokens.back();
    if (last == kHookToken) return ELayer::Hook;
    if (last == kTcsToken) return ELayer::Tcs;
    if (last == kSaToken) return ELayer::Sa;
    return ELayer::None;
}

std::string WithoutLastToken(std::string_view name, std::string_view token) {
    const std::size_t tail = token.size() + 2;
    if (name.size() >= tail && name.substr(name.size() - token.size()) == token &&
        name.substr(name.size() - tail, 2) == "::") {
        name.remove_suffix(tail);
    }
    return std::string(name);
}

}  // namespace kv

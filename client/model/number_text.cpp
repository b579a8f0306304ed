#include "model/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace z5r {

std::string FormatDecimal(double value, int maxDecimals) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    maxDecimals = std::clamp(maxDecimals, 0, 17);  // beyond 17 a double has no digits to show
    char buffer[512];                              // the largest double takes 309 integer digits
    const int written = std::snprintf(buffer, sizeof buffer, "%.*f", maxDecimals, value);
    std::size_t length = written > 0 ? static_cast<std::size_t>(written) : 0;
    if (std::string_view(buffer, length).find('.') != std::string_view::npos) {
        while (buffer[length - 1] == '0') --length;
        if (buffer[length - 1] == '.') --length;
    }
    // A negative value that rounds to zero.
    if (std::string_view(buffer, length) == "-0") return "0";
    return std::string(buffer, length);
}

std::string GroupThousands(std::string_view number) {
    const std::size_t signLength =
        !number.empty() && (number[0] == '-' || number[0] == '+') ? 1 : 0;
    std::size_t digitsEnd = signLength;
    while (digitsEnd < number.size() && number[digitsEnd] >= '0' && number[digitsEnd] <= '9')
        ++digitsEnd;
    const std::size_t digits = digitsEnd - signLength;
    if (digits == 0) return std::string(number);

    std::string grouped;
    grouped.reserve(number.size() + digits / 3);
    for (std::size_t i = 0; i < number.size(); ++i) {
        const std::size_t digit = i - signLength;
        if (i > signLength && i < digitsEnd && (digits - digit) % 3 == 0) grouped.push_back(' ');
        grouped.push_back(number[i]);
    }
    return grouped;
}

}  // namespace z5r

#include "korvel/components/text_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "number_grammar.h"

namespace korvel {
namespace detail {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A long exponent is only ever out of range; this keeps the sum from overflowing.
constexpr long kExponentCap = 100000;

}  // namespace

bool IsBlankAt(std::string_view text, std::size_t at, std::size_t* length) {
    if (at >= text.size()) return false;
    const auto rest = text.substr(at);
    if (rest[0] == ' ' || rest[0] == '\t') {
        *length = 1;
        return true;
    }
    // U+00A0 no-break space, U+2009 thin space, U+202F narrow no-break space.
    if (rest.substr(0, 2) == "\xC2\xA0") {
        *length = 2;
        return true;
    }
    if (rest.substr(0, 3) == "\xE2\x80\x89" || rest.substr(0, 3) == "\xE2\x80\xAF") {
        *length = 3;
        return true;
    }
    return false;
}

std::string_view TrimBlanks(std::string_view text) {
    std::size_t length = 0;
    while (IsBlankAt(text, 0, &length)) text.remove_prefix(length);
    // Blanks are at most three bytes; look back for each kind.
    for (bool trimmed = true; trimmed && !text.empty();) {
        trimmed = false;
        for (std::size_t width = 1; width <= 3 && width <= text.size(); ++width) {
            std::size_t found = 0;
            if (IsBlankAt(text, text.size() - width, &found) && found == width) {
                text.remove_suffix(width);
                trimmed = true;
                break;
            }
        }
    }
    return text;
}

bool ScanNumber(std::string_view text, std::size_t* consumed, std::string* mantissa,
                long* exponent) {
    std::size_t i = 0;
    mantissa->clear();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') mantissa->push_back('-');
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits = true;
            mantissa->push_back(c);
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            mantissa->push_back('.');
        } else {
            break;
        }
    }
    if (!digits) return false;

    *exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) negative = text[j++] == '-';
        const std::size_t first = j;
        long value = 0;
        while (j < text.size() && IsDigit(text[j])) {
            value = std::min(kExponentCap, value * 10 + (text[j] - '0'));
            ++j;
        }
        // "1e" or "1e+" is not a number with an exponent, and nothing else either.
        if (j == first) return false;
        *exponent = negative ? -value : value;
        i = j;
    }
    *consumed = i;
    return true;
}

double ComposeNumber(const std::string& mantissa, long exponent, int extraPower) {
    const std::string text = mantissa + "e" + std::to_string(exponent + extraPower);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return value;
}

}  // namespace detail

std::string AddSep(std::string_view text, bool integerOnly) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    const std::size_t intEnd = i;
    if (intEnd == intStart) return std::string(text);

    std::string out(text.substr(0, intStart));
    const std::size_t intLength = intEnd - intStart;
    for (std::size_t k = 0; k < intLength; ++k) {
        if (k > 0 && (intLength - k) % 3 == 0) out.push_back(' ');
        out.push_back(text[intStart + k]);
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        out.push_back(text[i++]);
        const std::size_t fracStart = i;
        while (i < text.size() && isDigit(text[i])) {
            if (!integerOnly && i > fracStart && (i - fracStart) % 3 == 0) out.push_back(' ');
            out.push_back(text[i++]);
        }
    }
    out.append(text.substr(i));
    return out;
}

double StrToDouble(std::string_view text) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    text = detail::TrimBlanks(text);
    // Blanks between digits are group separators; anywhere else they end the number.
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t blank = 0;
        if (detail::IsBlankAt(text, i, &blank)) {
            const bool betweenDigits = !joined.empty() && joined.back() >= '0' &&
                                       joined.back() <= '9' && i + blank < text.size() &&
                                       text[i + blank] >= '0' && text[i + blank] <= '9';
            if (!betweenDigits) return kNaN;
            i += blank;
            continue;
        }
        joined.push_back(text[i++]);
    }
    std::size_t consumed = 0;
    std::string mantissa;
    long exponent = 0;
    if (!detail::ScanNumber(joined, &consumed, &mantissa, &exponent) || consumed != joined.size()) {
        return kNaN;
    }
    return detail::ComposeNumber(mantissa, exponent, 0);
}

}  // namespace korvel

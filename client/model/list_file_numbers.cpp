#include "model/list_file_numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace z5r {

namespace {

constexpr int kSignificantDigits = 13;

// White space of the C locale.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A number too small for a double reads as zero, as the C conversion reads it;
// one too large is not taken (it would be infinite).
bool Underflows(const char* first, const char* last) {
    for (const char* p = first; p + 1 < last; ++p) {
        if ((*p == 'e' || *p == 'E') && p[1] == '-') return true;
    }
    return false;
}

// Reads one number at `p`; returns the end of its text, or nullptr when there
// is none.
const char* ReadNumber(const char* p, const char* end, double& value) {
    const char* start = p;
    if (p != end && *p == '+') ++p;
    // A sign is followed by digits or a point, never by another sign.
    if (p != start && (p == end || *p == '-')) return nullptr;
    const auto [stop, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (!Underflows(p, stop)) return nullptr;
        value = 0.0;
        return stop;
    }
    if (error != std::errc() || !std::isfinite(value)) return nullptr;
    return stop;
}

}  // namespace

void AppendListReal(std::string& out, double value) {
    char text[48];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general,
                                      kSignificantDigits);
    out.append(text, result.ptr);
}

void AppendListInteger(std::string& out, std::int32_t value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

std::size_t ReadLeadingNumbers(std::string_view text, std::span<double> numbers) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t count = 0;
    while (count < numbers.size()) {
        while (p != end && IsSpace(*p)) ++p;
        double value = 0.0;
        const char* next = ReadNumber(p, end, value);
        if (next == nullptr) break;
        numbers[count++] = value;
        p = next;
    }
    return count;
}

}  // namespace z5r

#include "model/profile_columns.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <charconv>

namespace z5r {

namespace {

// strtod in the C number format whatever the user's number settings are.
locale_t CNumberLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

template <typename T>
void AppendNumber(std::string& column, T value) {
    char text[64];
    const auto result = std::to_chars(std::begin(text), std::end(text), value);
    column.append(text, result.ptr);
    column.push_back(' ');
}

}  // namespace

void AppendColumnValue(std::string& column, double value) { AppendNumber(column, value); }

void AppendColumnValue(std::string& column, std::int32_t value) { AppendNumber(column, value); }

std::optional<std::vector<double>> ParseColumn(std::string_view text) {
    std::string pointed(text);
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    std::vector<double> values;
    const char* cursor = pointed.c_str();
    for (;;) {
        char* end = nullptr;
        const double value = strtod_l(cursor, &end, CNumberLocale());
        if (end == cursor) break;
        if (values.size() == kMaxColumnValues) return std::nullopt;
        values.push_back(value);
        cursor = end;
    }
    return values;
}

}  // namespace z5r

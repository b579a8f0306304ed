// The column texts of a profile-list file: the values of one sequence in
// order, each followed by one space. Reals are written in the shortest form
// that reads back to the same double; decimal commas are accepted on reading.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace z5r {

// More values than a column may hold (a refused file, not a truncated list).
inline constexpr std::size_t kMaxColumnValues = 1u << 16;

void AppendColumnValue(std::string& column, double value);
void AppendColumnValue(std::string& column, std::int32_t value);

// The reals at the start of a column text, read in the C number format after
// every comma became a point, up to the first piece that is no number. None
// when the column holds more than kMaxColumnValues values.
std::optional<std::vector<double>> ParseColumn(std::string_view text);

}  // namespace z5r

// The numbers of the list files: written in the C locale's general notation
// with 13 significant digits, read one after another from the start of a text
// the way a loop of the C library's number conversion reads them, whatever
// locale the program runs in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace z5r {

// A line of a list file holds at most this many numbers that count.
inline constexpr std::size_t kListLineNumbers = 15;
using SListLineNumbers = std::array<double, kListLineNumbers>;

// Appends `value` as "%.13g" does in the C locale (10000000, 20000000000,
// -10, 0.5, 1e-06).
void AppendListReal(std::string& out, double value);
void AppendListInteger(std::string& out, std::int32_t value);

// Reads numbers from the start of `text`: white space before each number is
// skipped, reading stops at the first text that is not a finite number or
// when `numbers` is full (later numbers are ignored). Numbers follow one
// another without a separator where their text allows ("1-2" is 1 and -2).
// Returns how many were stored.
std::size_t ReadLeadingNumbers(std::string_view text, std::span<double> numbers);

}  // namespace z5r

// Number texts of the parameter summary. The widget package has its own
// digit grouping, but it is built only with the windows; the summary is
// computed without them, so it formats here, with the same conventions:
// a period as decimal point and a blank between digit groups.
#pragma once

#include <string>
#include <string_view>

namespace z5r {

// `value` with at most `maxDecimals` (0-17) decimals, rounded, without trailing
// zeros or a trailing point (the pattern "0.###" for 3). Minus zero and
// values that round to zero give "0"; NaN gives "nan", infinities "inf" and
// "-inf".
std::string FormatDecimal(double value, int maxDecimals);

// Inserts a blank between groups of three digits of the integer part of a
// number text ("-100000000.5" -> "-100 000 000.5"). Text that does not start
// with digits (after an optional sign) is returned unchanged.
std::string GroupThousands(std::string_view number);

}  // namespace z5r

// The number grammar shared by the unit reader and StrToDouble.
#pragma once

#include <string>
#include <string_view>

namespace korvel::detail {

// Blanks that may surround a number or separate it from its unit: space, tab,
// no-break space, thin spaces.
bool IsBlankAt(std::string_view text, std::size_t at, std::size_t* length);
std::string_view TrimBlanks(std::string_view text);

// Reads a number at the start of `text`: sign, digits with at most one "." or
// "," as the decimal point, optional exponent. On success `consumed` is the
// length read and `mantissa`/`exponent` the parts ("-1.5", 3).
bool ScanNumber(std::string_view text, std::size_t* consumed, std::string* mantissa,
                long* exponent);

// mantissa × 10^(exponent + extraPower), correctly rounded; NaN when the
// result leaves the double range.
double ComposeNumber(const std::string& mantissa, long exponent, int extraPower);

}  // namespace korvel::detail

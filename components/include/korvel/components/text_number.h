// Number texts of the user interface: digit-group separators and tolerant
// reading of a decimal number. Plain functions without widgets.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

// Inserts a blank between groups of three digits in the integer part of a
// number text ("-100000000.001" -> "-100 000 000.001"). With `integerOnly`
// false the digits after the decimal point are grouped too, counted from the
// point ("0.0012345" -> "0.001 234 5"). The decimal point may be "." or ",";
// an exponent ("1e10") is left alone. A text that does not start with a
// number (after an optional sign) is returned unchanged; text after the
// number is kept as it is.
std::string AddSep(std::string_view text, bool integerOnly = true);

// Reads a whole text as a decimal number: optional blanks around it, a sign,
// digits with "." or "," as the decimal point, an optional exponent. Blanks
// between digit groups ("1 234,5") are accepted. Anything else (empty text,
// letters, two decimal points, "nan", "inf", overflow) gives NaN; it never
// throws.
double StrToDouble(std::string_view text);

}  // namespace korvel

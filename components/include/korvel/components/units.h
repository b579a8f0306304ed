// Numbers with units as the widgets show and read them: the unit family of a
// value, the decimal prefix chosen for it, the text shown, and the reading of
// what an operator types. Plain functions without widgets.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The unit family of a value. The value itself is always held in the base
// unit: hertz, seconds, dBm, dB, degrees, or a plain number.
enum class EUnits {
    None,       // plain number (counts, ratios), no unit shown
    Frequency,  // Гц, кГц, МГц, ГГц
    Time,       // с, мс, мкс, нс
    Level,      // дБм
    Decibel,    // дБ
    Degree,     // °
};

// One unit a family can show: the decimal exponent of its prefix and its
// catalogue key (the Russian text).
struct UnitChoice {
    int power = 0;
    const char* key = "";
};

// The units of a family, smallest prefix first (one entry for families
// without prefixes; for EUnits::None a single entry with an empty key).
const std::vector<UnitChoice>& UnitChoices(EUnits units);

// The unit text shown for `power` in the family, through the catalogue; empty
// for EUnits::None or a power the family does not have.
std::string UnitText(EUnits units, int power);

// What a value looks like on screen.
struct FormattedValue {
    std::string number;  // "1.5", "-130", "" for not-a-number
    std::string unit;    // "ГГц" (translated), "" for plain numbers
    int power = 0;       // decimal exponent of the prefix used
};

// Formats `value` (base unit) with at most `precision` significant digits
// (1..17; trailing zeros after the point dropped, "." as the decimal point).
// The prefix is the largest of the family not above the rounded value's
// magnitude (the smallest for tiny values, the base unit for zero), unless
// `fixedPower` names one of the family's prefixes. Not-a-number gives an empty
// number with the unit of the prefix it would have used (base or fixed);
// infinities show as "inf"/"-inf".
FormattedValue FormatValue(double value, EUnits units, int precision,
                           std::optional<int> fixedPower = std::nullopt);

// Reads what an operator typed: optional blanks, a number (sign, digits, "."
// or "," as the decimal point, optional exponent "e±N"), optional blanks, and
// optionally a unit or a bare prefix of the family, Russian or Latin
// ("1.5 ГГц", "1,5 ГГц", "1500 МГц", "1500M", "10 k", "2 мкс", "2us",
// "-10 дБм", "-10 dBm"). Without a unit the number is in the unit of
// `defaultPower` (the unit currently shown). Prefix letters are
// case-sensitive where they must be (m milli, M mega). Anything else, an
// empty text, "nan", "inf", or a result outside the double range gives NaN.
double ParseValue(std::string_view text, EUnits units, int defaultPower = 0);

}  // namespace korvel

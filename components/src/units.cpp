#include "korvel/components/units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "number_grammar.h"
#include "z5r/i18n.h"

namespace korvel {

namespace {

const std::vector<UnitChoice>& Choices(EUnits units) {
    static const std::vector<UnitChoice> none{{0, ""}};
    static const std::vector<UnitChoice> frequency{
        {0, Z5R_TEXT("Гц")}, {3, Z5R_TEXT("кГц")}, {6, Z5R_TEXT("МГц")}, {9, Z5R_TEXT("ГГц")}};
    static const std::vector<UnitChoice> time{
        {-9, Z5R_TEXT("нс")}, {-6, Z5R_TEXT("мкс")}, {-3, Z5R_TEXT("мс")}, {0, Z5R_TEXT("с")}};
    static const std::vector<UnitChoice> level{{0, Z5R_TEXT("дБм")}};
    static const std::vector<UnitChoice> decibel{{0, Z5R_TEXT("дБ")}};
    static const std::vector<UnitChoice> degree{{0, Z5R_TEXT("°")}};
    switch (units) {
        case EUnits::Frequency:
            return frequency;
        case EUnits::Time:
            return time;
        case EUnits::Level:
            return level;
        case EUnits::Decibel:
            return decibel;
        case EUnits::Degree:
            return degree;
        case EUnits::None:
            break;
    }
    return none;
}

bool HasPower(EUnits units, int power) {
    const auto& choices = Choices(units);
    return std::any_of(choices.begin(), choices.end(),
                       [power](const UnitChoice& c) { return c.power == power; });
}

// The unit used for a value whose decimal exponent is `magnitude`: the largest
// prefix not above it, else the smallest.
int PowerFor(EUnits units, int magnitude) {
    const auto& choices = Choices(units);
    int power = choices.front().power;
    for (const auto& choice : choices) {
        if (choice.power <= magnitude) power = choice.power;
    }
    return power;
}

// Lower case for ASCII and the basic Cyrillic letters, enough for unit texts.
std::string Lower(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out.push_back(static_cast<char>(c - 'A' + 'a'));
        } else if (c == 0xD0 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            ++i;
            if (next >= 0x90 && next <= 0x9F) {  // А..П -> а..п
                out.push_back(static_cast<char>(0xD0));
                out.push_back(static_cast<char>(next + 0x20));
            } else if (next >= 0xA0 && next <= 0xAF) {  // Р..Я -> р..я
                out.push_back(static_cast<char>(0xD1));
                out.push_back(static_cast<char>(next - 0x20));
            } else if (next == 0x81) {  // Ё -> ё
                out.push_back(static_cast<char>(0xD1));
                out.push_back(static_cast<char>(0x91));
            } else {
                out.push_back(static_cast<char>(c));
                out.push_back(static_cast<char>(next));
            }
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

struct UnitSpelling {
    int power;
    const char* text;  // lower case
};

// Within one family every prefix letter means one thing, so the comparison
// ignores case (м in a frequency is mega, in a time milli).
const std::vector<UnitSpelling>& Spellings(EUnits units) {
    static const std::vector<UnitSpelling> none{};
    static const std::vector<UnitSpelling> frequency{
        {0, "гц"},  {0, "hz"}, {3, "кгц"}, {3, "khz"}, {3, "к"},   {3, "k"}, {6, "мгц"},
        {6, "mhz"}, {6, "м"},  {6, "m"},   {9, "ггц"}, {9, "ghz"}, {9, "г"}, {9, "g"}};
    static const std::vector<UnitSpelling> time{
        {0, "с"},  {0, "s"},    {0, "сек"}, {0, "sec"}, {-3, "мс"}, {-3, "ms"}, {-3, "м"},
        {-3, "m"}, {-6, "мкс"}, {-6, "us"}, {-6, "µs"}, {-6, "μs"}, {-6, "мк"}, {-6, "u"},
        {-6, "µ"}, {-6, "μ"},   {-9, "нс"}, {-9, "ns"}, {-9, "н"},  {-9, "n"}};
    static const std::vector<UnitSpelling> level{{0, "дбм"}, {0, "dbm"}};
    static const std::vector<UnitSpelling> decibel{{0, "дб"}, {0, "db"}};
    static const std::vector<UnitSpelling> degree{{0, "°"}, {0, "град"}, {0, "deg"}};
    switch (units) {
        case EUnits::Frequency:
            return frequency;
        case EUnits::Time:
            return time;
        case EUnits::Level:
            return level;
        case EUnits::Decibel:
            return decibel;
        case EUnits::Degree:
            return degree;
        case EUnits::None:
            break;
    }
    return none;
}

// The power a unit text stands for; false when the family has no such unit.
bool PowerOfUnit(std::string_view unit, EUnits units, int* power) {
    const std::string lowered = Lower(unit);
    for (const auto& spelling : Spellings(units)) {
        if (lowered == spelling.text) {
            *power = spelling.power;
            return true;
        }
    }
    // Whatever the catalogue shows is accepted back as well.
    for (const auto& choice : Choices(units)) {
        if (*choice.key != '\0' && lowered == Lower(z5r::Tr(choice.key))) {
            *power = choice.power;
            return true;
        }
    }
    return false;
}

// The significant digits and the decimal exponent of a finite, non-zero value
// rounded to `precision` digits: 1234.5 with 3 gives "123", 3.
void Digits(double value, int precision, std::string* digits, int* magnitude) {
    // Formatted as printf's %e would, without its locale and stream machinery:
    // every edit of the window formats its value on each change.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, precision - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const auto e = text.find('e');
    digits->clear();
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.') digits->push_back(text[i]);
    }
    int exponent = 0;
    const char* start = text.data() + e + 1;
    if (*start == '+') ++start;
    std::from_chars(start, text.data() + text.size(), exponent);
    *magnitude = exponent;
}

std::string PlaceDecimalPoint(const std::string& digits, int beforePoint) {
    std::string out;
    if (beforePoint <= 0) {
        out = "0." + std::string(static_cast<std::size_t>(-beforePoint), '0') + digits;
    } else if (static_cast<std::size_t>(beforePoint) >= digits.size()) {
        out = digits + std::string(static_cast<std::size_t>(beforePoint) - digits.size(), '0');
    } else {
        out = digits.substr(0, static_cast<std::size_t>(beforePoint)) + "." +
              digits.substr(static_cast<std::size_t>(beforePoint));
    }
    if (out.find('.') != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.') out.pop_back();
    }
    return out;
}

}  // namespace

const std::vector<UnitChoice>& UnitChoices(EUnits units) { return Choices(units); }

std::string UnitText(EUnits units, int power) {
    for (const auto& choice : Choices(units)) {
        if (choice.power == power) return *choice.key == '\0' ? std::string() : z5r::Tr(choice.key);
    }
    return {};
}

FormattedValue FormatValue(double value, EUnits units, int precision,
                           std::optional<int> fixedPower) {
    precision = std::clamp(precision, 1, 17);
    // A power the family does not have is ignored.
    const bool fixed = fixedPower.has_value() && HasPower(units, *fixedPower);
    const int fixedValue = fixed ? *fixedPower : 0;
    FormattedValue result;
    if (std::isnan(value) || std::isinf(value) || value == 0.0) {
        result.power = fixed ? fixedValue : PowerFor(units, 0);
        if (std::isinf(value))
            result.number = value < 0 ? "-inf" : "inf";
        else if (value == 0.0)
            result.number = "0";
        result.unit = UnitText(units, result.power);
        return result;
    }
    std::string digits;
    int magnitude = 0;
    Digits(value, precision, &digits, &magnitude);
    result.power = fixed ? fixedValue : PowerFor(units, magnitude);
    result.number = PlaceDecimalPoint(digits, magnitude - result.power + 1);
    if (value < 0) result.number.insert(0, "-");
    result.unit = UnitText(units, result.power);
    return result;
}

double ParseValue(std::string_view text, EUnits units, int defaultPower) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    text = detail::TrimBlanks(text);
    std::size_t consumed = 0;
    std::string mantissa;
    long exponent = 0;
    if (!detail::ScanNumber(text, &consumed, &mantissa, &exponent)) return kNaN;
    const std::string_view unit = detail::TrimBlanks(text.substr(consumed));
    int power = defaultPower;
    if (!unit.empty() && !PowerOfUnit(unit, units, &power)) return kNaN;
    return detail::ComposeNumber(mantissa, exponent, power);
}

}  // namespace korvel

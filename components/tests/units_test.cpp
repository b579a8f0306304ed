// Formatting and reading numbers with units, as the numeric edit shows and
// reads them.
#include "korvel/components/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace korvel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FormatCase {
    double value;
    EUnits units;
    int precision;
    std::optional<int> fixed;
    const char* number;
    const char* unit;
};

TEST(FormatValue, PicksThePrefixByMagnitudeAndTrimsZeros) {
    const FormatCase cases[] = {
        {1.5e9, EUnits::Frequency, 12, {}, "1.5", "ГГц"},
        {110000000001.0, EUnits::Frequency, 12, {}, "110.000000001", "ГГц"},
        {999.0, EUnits::Frequency, 12, {}, "999", "Гц"},
        {1000.0, EUnits::Frequency, 12, {}, "1", "кГц"},
        {0.5, EUnits::Frequency, 12, {}, "0.5", "Гц"},  // no prefix below hertz
        {0.0, EUnits::Frequency, 12, {}, "0", "Гц"},
        {-2.5e6, EUnits::Frequency, 12, {}, "-2.5", "МГц"},
        {0.000255, EUnits::Time, 12, {}, "255", "мкс"},
        {4.0, EUnits::Time, 12, {}, "4", "с"},
        {20e-9, EUnits::Time, 12, {}, "20", "нс"},
        {1e-12, EUnits::Time, 12, {}, "0.001", "нс"},  // below the smallest prefix
        {-130.0, EUnits::Level, 12, {}, "-130", "дБм"},
        {150.0, EUnits::Decibel, 12, {}, "150", "дБ"},
        {-180.0, EUnits::Degree, 12, {}, "-180", "°"},
        {501.0, EUnits::None, 12, {}, "501", ""},
        {4000000000.0, EUnits::None, 12, {}, "4000000000", ""},  // plain numbers: no prefix
        // rounding to the precision moves the value into the next prefix
        {999999.9999999, EUnits::Frequency, 6, {}, "1", "МГц"},
        // binary noise of arithmetic disappears in the shown digits
        {0.1 + 0.2, EUnits::None, 12, {}, "0.3", ""},
        {1.7e9 * (1 - 1e-15), EUnits::Frequency, 12, {}, "1.7", "ГГц"},
        // a fixed prefix wins over the magnitude
        {2.5e9, EUnits::Frequency, 12, 6, "2500", "МГц"},
        {1.0, EUnits::Frequency, 12, 9, "0.000000001", "ГГц"},
        {1.0, EUnits::Frequency, 12, 7, "1", "Гц"},  // not a prefix of the family: ignored
        {1.23456789, EUnits::None, 3, {}, "1.23", ""},
    };
    for (const auto& c : cases) {
        const FormattedValue shown = FormatValue(c.value, c.units, c.precision, c.fixed);
        EXPECT_EQ(shown.number, c.number) << c.value;
        EXPECT_EQ(shown.unit, c.unit) << c.value;
    }
}

TEST(FormatValue, NotANumberIsBlankAndInfinitiesAreNamed) {
    EXPECT_EQ(FormatValue(kNaN, EUnits::Frequency, 12).number, "");
    EXPECT_EQ(FormatValue(kNaN, EUnits::Frequency, 12, 6).unit, "МГц");
    EXPECT_EQ(FormatValue(std::numeric_limits<double>::infinity(), EUnits::None, 12).number, "inf");
    EXPECT_EQ(FormatValue(-std::numeric_limits<double>::infinity(), EUnits::None, 12).number,
              "-inf");
    // Out-of-range precisions are clamped, not trusted.
    EXPECT_EQ(FormatValue(1.25, EUnits::None, 0).number, "1");
    EXPECT_EQ(FormatValue(1.25, EUnits::None, 400).number, "1.25");
}

struct ParseCase {
    const char* text;
    EUnits units;
    int defaultPower;
    double expected;
};

TEST(ParseValue, ReadsNumbersWithOrWithoutUnits) {
    const ParseCase cases[] = {
        {"1.5 ГГц", EUnits::Frequency, 0, 1.5e9},
        {"1,5 ГГц", EUnits::Frequency, 0, 1.5e9},
        {"1500 МГц", EUnits::Frequency, 0, 1.5e9},
        {"1500МГц", EUnits::Frequency, 0, 1.5e9},
        {"1500 мгц", EUnits::Frequency, 0, 1.5e9},  // м in a frequency is mega
        {"1500M", EUnits::Frequency, 0, 1.5e9},
        {"1500 m", EUnits::Frequency, 0, 1.5e9},
        {"10 k", EUnits::Frequency, 0, 1e4},
        {"10 кГц", EUnits::Frequency, 0, 1e4},
        {"2.5 GHz", EUnits::Frequency, 0, 2.5e9},
        {"7", EUnits::Frequency, 6, 7e6},  // no unit: the unit shown
        {"  7  ", EUnits::Frequency, 9, 7e9},
        {"1e3", EUnits::Frequency, 0, 1e3},
        {"1.2E-3 ГГц", EUnits::Frequency, 0, 1.2e6},
        {"-1.1", EUnits::Frequency, 9, -1.1e9},
        {"+5", EUnits::None, 0, 5.0},
        {".5", EUnits::None, 0, 0.5},
        {"5.", EUnits::None, 0, 5.0},
        {"2 мкс", EUnits::Time, 0, 2e-6},
        {"2us", EUnits::Time, 0, 2e-6},
        {"2 µs", EUnits::Time, 0, 2e-6},
        {"255 мкс", EUnits::Time, 0, 0.000255},
        {"3 мс", EUnits::Time, 0, 3e-3},
        {"3 m", EUnits::Time, 0, 3e-3},  // m in a time is milli
        {"20 нс", EUnits::Time, 0, 20e-9},
        {"4 с", EUnits::Time, -3, 4.0},
        {"-10 дБм", EUnits::Level, 0, -10.0},
        {"-10 dBm", EUnits::Level, 0, -10.0},
        {"40 дБ", EUnits::Decibel, 0, 40.0},
        {"-90°", EUnits::Degree, 0, -90.0},
        {"12\xC2\xA0ГГц", EUnits::Frequency, 0, 12e9},  // no-break space
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ParseValue(c.text, c.units, c.defaultPower), c.expected) << c.text;
    }
    // Decimal fractions of a prefixed unit are exact, not products with noise.
    EXPECT_EQ(ParseValue("1.1 мс", EUnits::Time, 0), 1.1e-3);
    EXPECT_EQ(ParseValue("1.7", EUnits::Frequency, 9), 1.7e9);
}

TEST(ParseValue, HostileTextIsNotANumber) {
    const ParseCase cases[] = {
        {"", EUnits::Frequency, 0, 0},
        {"   ", EUnits::Frequency, 0, 0},
        {"abc", EUnits::Frequency, 0, 0},
        {"1.2.3", EUnits::None, 0, 0},
        {"1,2,3", EUnits::None, 0, 0},
        {"--1", EUnits::None, 0, 0},
        {"-", EUnits::None, 0, 0},
        {".", EUnits::None, 0, 0},
        {"1e", EUnits::None, 0, 0},
        {"1e+", EUnits::None, 0, 0},
        {"nan", EUnits::None, 0, 0},
        {"inf", EUnits::None, 0, 0},
        {"-infinity", EUnits::None, 0, 0},
        {"0x10", EUnits::None, 0, 0},
        {"1e400", EUnits::None, 0, 0},                 // beyond a double
        {"1e999999999999999999", EUnits::None, 0, 0},  // exponent beyond anything
        {"1e-400", EUnits::None, 0, 0},
        {"1 ГГцц", EUnits::Frequency, 0, 0},
        {"1 дБм", EUnits::Frequency, 0, 0},  // a unit of another family
        {"1 МГц", EUnits::Time, 0, 0},
        {"1 k", EUnits::None, 0, 0},  // plain numbers take no unit
        {"1 2", EUnits::None, 0, 0},
        {"1\n", EUnits::None, 0, 0},
        {"\xFF\xFE", EUnits::Frequency, 0, 0},
        {"5 \xD0", EUnits::Frequency, 0, 0},  // cut UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(std::isnan(ParseValue(c.text, c.units, c.defaultPower))) << c.text;
    }
    const std::string huge(100000, '9');
    EXPECT_TRUE(std::isnan(ParseValue(huge + "e999", EUnits::None, 0)));
    EXPECT_TRUE(std::isnan(ParseValue(std::string("1\0 ГГц", 7), EUnits::Frequency, 0)));
}

TEST(ParseValue, ReadsBackEveryShownValue) {
    const double values[] = {0.0,     1.0,      1.5e9, 110000000001.0, 123456.789,
                             -130.25, 0.000255, 4e-8,  999999.5,       42.0};
    const EUnits families[] = {EUnits::Frequency, EUnits::Time, EUnits::Level, EUnits::None};
    for (const double value : values) {
        for (const EUnits units : families) {
            const FormattedValue shown = FormatValue(value, units, 15);
            const double back = ParseValue(shown.number + " " + shown.unit, units, 0);
            EXPECT_NEAR(back, value, std::fabs(value) * 1e-14) << shown.number << shown.unit;
            EXPECT_NEAR(ParseValue(shown.number, units, shown.power), value,
                        std::fabs(value) * 1e-14);
        }
    }
}

}  // namespace
}  // namespace korvel

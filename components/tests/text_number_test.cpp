// Digit-group separators and tolerant number reading.
#include "korvel/components/text_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace korvel {
namespace {

TEST(AddSep, GroupsTheIntegerPartInThrees) {
    const std::pair<const char*, const char*> cases[] = {
        {"100000000", "100 000 000"},
        {"0.001", "0.001"},
        {"-0.001", "-0.001"},
        {"1234", "1 234"},
        {"123", "123"},
        {"1", "1"},
        {"-1234567.891", "-1 234 567.891"},
        {"+1234", "+1 234"},
        {"1234,5678", "1 234,5678"},
        {"1234567.1234567", "1 234 567.1234567"},  // the fraction is left alone
        {"12345 Гц", "12 345 Гц"},
        {"1e10", "1e10"},
        {"12345e10", "12 345e10"},
        {"", ""},
        {"-", "-"},
        {"abc", "abc"},
        {"Гц 12345", "Гц 12345"},
        {"---", "---"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(AddSep(text, true), expected) << text;
}

TEST(AddSep, CanGroupTheFractionFromThePoint) {
    EXPECT_EQ(AddSep("0.0012345", false), "0.001 234 5");
    EXPECT_EQ(AddSep("1234567.123456", false), "1 234 567.123 456");
    EXPECT_EQ(AddSep("1.12", false), "1.12");
    EXPECT_EQ(AddSep("1.", false), "1.");
}

TEST(StrToDouble, ReadsBothDecimalPointsAndGroups) {
    const std::pair<const char*, double> cases[] = {
        {"1.5", 1.5},
        {"1,5", 1.5},
        {"-0,25", -0.25},
        {"  42  ", 42.0},
        {"1e3", 1000.0},
        {"1,5E-3", 0.0015},
        {"1 234,5", 1234.5},
        {"100 000 000", 1e8},
        {"1\xC2\xA0"
         "000",
         1000.0},
        {"0", 0.0},
        {"+7", 7.0},
        {".5", 0.5},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(StrToDouble(text), expected) << text;
    EXPECT_EQ(StrToDouble("0.1"), 0.1);  // correctly rounded, whatever the locale
}

TEST(StrToDouble, JunkIsNotANumber) {
    const char* cases[] = {"",     " ",    "abc",   "1.5.2", "1,5,2",  "1..5", "1.5x",
                           "x1.5", "nan",  "NaN",   "inf",   "-inf",   "1e",   "1e999",
                           "--5",  "1 ,5", "1 - 2", "0x1A",  "1\t\tz", "١٢٣"};
    for (const char* text : cases) EXPECT_TRUE(std::isnan(StrToDouble(text))) << text;
    EXPECT_FALSE(std::isnan(StrToDouble("1 ")));  // trailing blanks are trimmed
}

}  // namespace
}  // namespace korvel

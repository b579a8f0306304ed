#include "korvel/common/round_to.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using VxCore::EDigitRoundMode;
using VxCore::round_to;

struct SRoundCase {
    double value;
    int digits;
    EDigitRoundMode mode;
    double expected;
};

const SRoundCase kCases[] = {
    // Pulse times to multiples of 10 ns.
    {1.0200000001e-6, -8, VxCore::drmNearest, 1.02e-6},
    {1.024e-6, -8, VxCore::drmNearest, 1.02e-6},
    {1.025e-6, -8, VxCore::drmNearest, 1.03e-6},
    {4e-9, -8, VxCore::drmNearest, 0.0},
    {5e-9, -8, VxCore::drmNearest, 1e-8},
    {-1.025e-6, -8, VxCore::drmNearest, -1.03e-6},
    {10.000000004, -8, VxCore::drmNearest, 10.0},
    {4.0, -8, VxCore::drmNearest, 4.0},
    // Other positions and modes.
    {1234.5, 2, VxCore::drmNearest, 1200.0},
    {1250.0, 2, VxCore::drmNearest, 1300.0},
    {2.5, 0, VxCore::drmNearest, 3.0},
    {1.019e-6, -8, VxCore::drmDown, 1.01e-6},
    {-1.011e-6, -8, VxCore::drmDown, -1.02e-6},
    {1.011e-6, -8, VxCore::drmUp, 1.02e-6},
    {-1.019e-6, -8, VxCore::drmUp, -1.01e-6},
    {-1.019e-6, -8, VxCore::drmTruncate, -1.01e-6},
    {1.019e-6, -8, VxCore::drmTruncate, 1.01e-6},
    // Nothing left below the position, or a position no double scales by.
    {1e300, -8, VxCore::drmNearest, 1e300},
    {123.456, 400, VxCore::drmNearest, 123.456},
    {123.456, -400, VxCore::drmNearest, 123.456},
};

TEST(RoundToTest, GivesTheMultipleOfThePowerOfTen) {
    for (const SRoundCase& c : kCases) {
        // Exact equality: the result must be the very double the literal names.
        EXPECT_EQ(round_to(c.value, c.digits, c.mode), c.expected)
            << c.value << " at " << c.digits << " mode " << c.mode;
    }
}

TEST(RoundToSpecialValuesTest, NotANumberAndInfinitiesComeBackUnchanged) {
    EXPECT_TRUE(std::isnan(round_to(std::numeric_limits<double>::quiet_NaN(), -8, VxCore::drmNearest)));
    EXPECT_EQ(round_to(std::numeric_limits<double>::infinity(), -8, VxCore::drmNearest),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(round_to(-std::numeric_limits<double>::infinity(), 3, VxCore::drmDown),
              -std::numeric_limits<double>::infinity());
}

}  // namespace

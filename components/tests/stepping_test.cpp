// Stepping a value by the step settings of an edit.
#include "korvel/components/stepping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(StepValue, LinearStepsAddTheIncrement) {
    const StepSettings step{1e6, false, 6};
    EXPECT_EQ(StepValue(1e9, step, 1, 0, 110e9), 1.001e9);
    EXPECT_EQ(StepValue(1e9, step, -3, 0, 110e9), 0.997e9);
    // The sign of the increment does not turn the direction round.
    EXPECT_EQ(StepValue(10.0, StepSettings{-2.0, false, 0}, 1, 0, 0), 12.0);
}

TEST(StepValue, DecimalStepsMoveTheChosenDigit) {
    // The increment is ignored: the exponent chooses the digit.
    const StepSettings khzDigit{1e6, true, 3};
    EXPECT_EQ(StepValue(1234567.0, khzDigit, 1, 0, 0), 1235567.0);
    const StepSettings microsecond{123.0, true, -6};
    EXPECT_DOUBLE_EQ(StepValue(0.000255, microsecond, -5, 0, 0), 0.00025);
    EXPECT_EQ(StepSize(StepSettings{5.0, true, 0}), 1.0);
    EXPECT_EQ(StepSize(StepSettings{5.0, false, 3}), 5.0);
}

TEST(StepValue, StopsAtTheBoundsWithoutReversing) {
    const StepSettings step{1.0, false, 0};
    EXPECT_EQ(StepValue(34.5, step, 1, -130, 35), 35.0);
    EXPECT_EQ(StepValue(-129.5, step, -1, -130, 35), -130.0);
    EXPECT_EQ(StepValue(35.0, step, 1, -130, 35), 35.0);
    // Beyond a bound already: a step further out leaves it, a step back moves it.
    EXPECT_EQ(StepValue(40.0, step, 1, -130, 35), 40.0);
    EXPECT_EQ(StepValue(40.0, step, -1, -130, 35), 39.0);
    // Equal bounds mean no range; a NaN bound leaves its side open.
    EXPECT_EQ(StepValue(100.0, step, 1, 0, 0), 101.0);
    EXPECT_EQ(StepValue(100.0, step, 1, 0, kNaN), 101.0);
    EXPECT_EQ(StepValue(0.5, step, -1, 0, kNaN), 0.0);
}

TEST(StepValue, RepeatedStepsGatherNoNoise) {
    const StepSettings tenth{0.1, false, -1};
    double value = 0.0;
    for (int i = 0; i < 3; ++i) value = StepValue(value, tenth, 1, 0, 0);
    EXPECT_EQ(value, 0.3);
    for (int i = 0; i < 3; ++i) value = StepValue(value, tenth, -1, 0, 0);
    EXPECT_EQ(value, 0.0);
}

TEST(StepValue, NothingToStepLeavesTheValue) {
    EXPECT_TRUE(std::isnan(StepValue(kNaN, StepSettings{}, 1, 0, 10)));
    EXPECT_EQ(StepValue(5.0, StepSettings{0.0, false, 0}, 1, 0, 10), 5.0);
    EXPECT_EQ(StepValue(5.0, StepSettings{kNaN, false, 0}, 1, 0, 10), 5.0);
    EXPECT_EQ(StepValue(5.0, StepSettings{1.0, true, 400}, 1, 0, 10), 5.0);  // 10^400: none
}

}  // namespace
}  // namespace korvel

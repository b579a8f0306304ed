// Comparing the three values of a pulse in the pulse tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "model/pulse_rules.h"

namespace z5r::pulsetest {

inline constexpr double us = 1e-6;

// Equal within rounding, or both not a number.
inline void ExpectValues(const SPulseValues& got, const SPulseValues& expected) {
    for (auto [g, e] : {std::pair{got.tau, expected.tau}, {got.period, expected.period}, {got.q, expected.q}}) {
        if (std::isnan(e)) {
            EXPECT_TRUE(std::isnan(g)) << g;
        } else {
            EXPECT_NEAR(g, e, std::fabs(e) * 1e-12) << g << " for " << e;
        }
    }
}

}  // namespace z5r::pulsetest

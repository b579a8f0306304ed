#include "korvel/components/stepping.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

// Binary noise of repeated additions removed: 15 significant digits are
// always exact in a double.
double RoundToSignificant(double value) {
    if (value == 0.0 || !std::isfinite(value)) return value;
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.14e", value);
    double rounded = value;
    std::from_chars(buffer, buffer + length, rounded);
    return rounded;
}

}  // namespace

double StepSize(const StepSettings& step) {
    const double size = step.decimal ? std::pow(10.0, step.power) : std::fabs(step.increment);
    return std::isfinite(size) ? size : 0.0;
}

double StepValue(double value, const StepSettings& step, int steps, double minValue,
                 double maxValue) {
    const double size = StepSize(step);
    if (std::isnan(value) || size == 0.0 || steps == 0) return value;
    double result = RoundToSignificant(value + steps * size);

    // min == max (or min > max) means no range; a NaN bound leaves its side open.
    const bool bothSet = !std::isnan(minValue) && !std::isnan(maxValue);
    if (bothSet && !(minValue < maxValue)) return result;
    // A step never moves the value the other way: from beyond a bound it stays.
    if (steps > 0 && !std::isnan(maxValue) && result > maxValue) {
        result = std::max(value, maxValue);
    }
    if (steps < 0 && !std::isnan(minValue) && result < minValue) {
        result = std::min(value, minValue);
    }
    return result;
}

}  // namespace korvel

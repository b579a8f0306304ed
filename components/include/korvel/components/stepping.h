// Stepping a value up or down by an edit's step settings. Plain functions.
#pragma once

namespace korvel {

// The step settings an edit keeps (and a profile stores for it).
struct StepSettings {
    // Linear kind: the step in the unit of the value (always used as |increment|).
    double increment = 1.0;
    // The kind: false = linear, the value moves by `increment`; true = decimal,
    // the value moves by one unit of the decimal digit 10^power (power 6 steps
    // a frequency by 1 MHz, -6 a time by 1 µs), whatever `increment` says.
    bool decimal = false;
    // Decimal exponent of the step. For the decimal kind it chooses the digit;
    // for the linear kind it is only kept (it is the exponent the step value
    // is usually written with, e.g. 6 for 1000000).
    int power = 0;
};

// The step size the settings give (always >= 0; 0 when they give none, e.g.
// a linear step of zero or NaN).
double StepSize(const StepSettings& step);

// `value` moved by `steps` steps (negative: down). A step that would cross a
// bound of the range stops at it; a value already beyond a bound does not
// move further out (nor jump back: a step towards the range moves it by the
// step). The range counts when minValue < maxValue; a NaN bound leaves its
// side open. A NaN value, or a step size of 0, gives the value unchanged. The result is
// rounded to 15 significant digits so that repeated steps do not gather
// binary noise (0.1 + 0.2 steps to 0.3).
double StepValue(double value, const StepSettings& step, int steps, double minValue,
                 double maxValue);

}  // namespace korvel

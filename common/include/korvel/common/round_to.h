// Decimal rounding: a value to a multiple of a power of ten.
#pragma once

namespace VxCore {

enum EDigitRoundMode {
    drmNearest = 0,   // to the nearest multiple, halves away from zero
    drmDown = 1,      // toward minus infinity
    drmUp = 2,        // toward plus infinity
    drmTruncate = 3,  // toward zero
};

// `value` rounded to a multiple of 10^digits (digits -8: to multiples of
// 1e-8). Not-a-number and infinities come back unchanged, and so does a
// value already too large to have anything below 10^digits. Digits beyond
// what a double can scale by (|digits| > 308) leave the value unchanged. An
// unknown mode rounds to the nearest multiple.
double round_to(double value, int digits, EDigitRoundMode mode);

}  // namespace VxCore

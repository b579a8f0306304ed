// Whole numbers taken from reals that may come from anywhere (files, edits):
// a plain cast of a value outside the target type is undefined.
#pragma once

#include <cstdint>

namespace z5r {

// `value` truncated toward zero and held within the int32 range; NaN gives 0.
std::int32_t TruncateToInt32(double value);

}  // namespace z5r

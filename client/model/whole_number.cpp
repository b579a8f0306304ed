#include "model/whole_number.h"

#include <cmath>
#include <limits>

namespace z5r {

std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(std::fmin(std::fmax(value, lo), hi)));
}

}  // namespace z5r

#include "sa_point.h"

#include <cmath>
#include <limits>

namespace kv {

namespace {
constexpr double kExponentUnit = 655360;  // e / 655360 is a power of ten
constexpr double kMantissaTop = 4611686018427387903.0;  // 2^62 - 1
}  // namespace

double PointValue(const SSaPoint& point) {
    return static_cast<double>(point.mantissa) * std::pow(10.0, point.exponent / kExponentUnit);
}

SSaPoint PointOf(double value) {
    if (!(value > 0) || !std::isfinite(value)) return {};
    const double exponent = std::trunc(std::log10(value / kMantissaTop) * kExponentUnit);
    if (exponent < std::numeric_limits<std::int32_t>::min() || exponent > std::numeric_limits<std::int32_t>::max()) {
        return {};
    }
    SSaPoint point;
    point.exponent = static_cast<std::int32_t>(exponent);
    const double mantissa = std::trunc(value / std::pow(10.0, exponent / kExponentUnit));
    // Truncating a positive exponent leaves the mantissa a hair above 2^62.
    point.mantissa = static_cast<std::int64_t>(std::min(mantissa, 9.2e18));
    return point;
}

void WritePoint(const SSaPoint& point, std::uint8_t* out) {
    const auto m = static_cast<std::uint64_t>(point.mantissa);
    for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(m >> (8 * i));
    const auto e = static_cast<std::uint32_t>(point.exponent);
    for (int i = 0; i < 4; ++i) out[8 + i] = static_cast<std::uint8_t>(e >> (8 * i));
}

SSaPoint ReadPoint(const std::uint8_t* in) {
    std::uint64_t m = 0;
    for (int i = 7; i >= 0; --i) m = (m << 8) | in[i];
    std::uint32_t e = 0;
    for (int i = 3; i >= 0; --i) e = (e << 8) | in[8 + i];
    return {static_cast<std::int64_t>(m), static_cast<std::int32_t>(e)};
}

}  // namespace kv

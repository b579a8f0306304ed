// The 12-byte measured point: a signed 64-bit mantissa m and a signed 32-bit
// exponent e, little-endian; the value is m * 10^(e / 655360).
#pragma once

#include <cstdint>

namespace kv {

struct SSaPoint {
    std::int64_t mantissa = 0;
    std::int32_t exponent = 0;  // 1/65536 dB
};

double PointValue(const SSaPoint& point);
// A value carried with the largest mantissa the format keeps (below 2^62).
SSaPoint PointOf(double value);
void WritePoint(const SSaPoint& point, std::uint8_t* out);
SSaPoint ReadPoint(const std::uint8_t* in);

}  // namespace kv

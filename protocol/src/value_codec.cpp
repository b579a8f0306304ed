#include "kvproto/value_codec.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "kvproto/packet.h"

namespace kvproto {
namespace {

// 2^63 is exact as a double; INT64_MAX is not, so compare against this.
constexpr double kTwoTo63 = 9223372036854775808.0;

// 256^f for every fraction count a format can carry (0..15); each is a power
// of two, so it is exact, and a table spares a libm call per value of a list.
constexpr auto kPowersOf256 = [] {
    std::array<double, 16> powers{};
    double power = 1.0;
    for (double& entry : powers) {
        entry = power;
        power *= 256.0;
    }
    return powers;
}();

constexpr auto kInversePowersOf256 = [] {
    std::array<double, 16> powers{};
    double power = 1.0;
    for (double& entry : powers) {
        entry = power;
        power /= 256.0;
    }
    return powers;
}();

// Multiplying by a power of two is exact, so the rounding below sees
// x * 256^f itself, for any fraction count up to 15. Rounds half away from
// zero, as std::round does, without its library call (a list sends
// thousands of values): the part a truncation leaves is exact, and from
// 2^52 on every double is whole already.
std::int64_t ToFixedPoint(double x, unsigned fractionBytes) {
    if (std::isnan(x)) return 0;
    const double scaled = x * kPowersOf256[fractionBytes & 0x0F];
    if (scaled >= kTwoTo63) return std::numeric_limits<std::int64_t>::max();
    if (scaled < -kTwoTo63) return std::numeric_limits<std::int64_t>::min();
    auto whole = static_cast<std::int64_t>(scaled);
    const double rest = scaled - static_cast<double>(whole);
    if (rest >= 0.5) ++whole;
    if (rest <= -0.5) --whole;
    return whole;
}

// Bytes 8..n-2 are magnitude bytes above the 64-bit word and byte n-1 holds
// the sign; together they are at most 56 bits, so they fit an int64 exactly.
std::int64_t HighPart(const std::uint8_t* in, unsigned count) {
    std::int64_t high = static_cast<std::int8_t>(in[count - 1]);
    for (unsigned i = count - 1; i-- > 8;) high = high * 256 + in[i];
    return high;
}

double ToDouble(const std::uint8_t* in, unsigned count) {
    const unsigned low = count < 8 ? count : 8;
    std::uint64_t word = 0;
    for (unsigned i = 0; i < low; ++i) word |= static_cast<std::uint64_t>(in[i]) << (8 * i);

    if (count <= 8) {
        // Sign-extend from the last byte into the bytes above it.
        if (count < 8 && (in[count - 1] & 0x80) != 0) word |= ~std::uint64_t{0} << (8 * count);
        return static_cast<double>(static_cast<std::int64_t>(word));
    }

    const std::int64_t high = HighPart(in, count);
    const bool wordNegative = (word >> 63) != 0;
    // The common case: the extra bytes only repeat the sign of the 64-bit word.
    if ((high == 0 && !wordNegative) || (high == -1 && wordNegative)) {
        return static_cast<double>(static_cast<std::int64_t>(word));
    }
    return std::ldexp(static_cast<double>(high), 64) + static_cast<double>(word);
}

}  // namespace

void EncodeValue(double x, std::uint8_t flagB, std::uint8_t* out) {
    const unsigned count = BytesPerValue(flagB);
    const std::int64_t fixed = ToFixedPoint(x, FractionBytes(flagB));
    const auto word = static_cast<std::uint64_t>(fixed);
    const std::uint8_t signFill = fixed < 0 ? 0xFF : 0x00;
    // Bytes past the 64-bit word only repeat the sign.
    const unsigned low = count < 8 ? count : 8;
    for (unsigned i = 0; i < low; ++i) out[i] = static_cast<std::uint8_t>(word >> (8 * i));
    if (count > low) std::memset(out + low, signFill, count - low);
}

double DecodeValue(const std::uint8_t* in, std::uint8_t flagB) {
    const unsigned count = BytesPerValue(flagB);
    if (count == 0) return 0.0;
    // 256^-f is a power of two too, so the product is the correctly rounded
    // quotient, as ldexp would give.
    return ToDouble(in, count) * kInversePowersOf256[FractionBytes(flagB)];
}

}  // namespace kvproto

#include "kvproto/value_codec.h"

#include <algorithm>
#include <array>
#include <bit>
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

// The lowest N bytes of `word`, least significant first.
template <unsigned N>
void StoreLow(std::uint64_t word, std::uint8_t* out) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &word, N);
    } else {
        for (unsigned i = 0; i < N; ++i) out[i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
}

// N bytes, least significant first, the last one's top bit the sign.
template <unsigned N>
std::int64_t LoadSigned(const std::uint8_t* in) {
    std::uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, in, N);
    } else {
        for (unsigned i = 0; i < N; ++i) word |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    }
    constexpr unsigned unused = 64 - 8 * N;
    if constexpr (unused == 0) {
        return static_cast<std::int64_t>(word);
    } else {
        return static_cast<std::int64_t>(word << unused) >> unused;
    }
}

// Widths past the 64-bit word: the bytes above it only repeat the sign.
void EncodeWide(double x, unsigned count, unsigned fraction, std::uint8_t* out) {
    const std::int64_t fixed = ToFixedPoint(x, fraction);
    StoreLow<8>(static_cast<std::uint64_t>(fixed), out);
    std::memset(out + 8, fixed < 0 ? 0xFF : 0x00, count - 8);
}

double DecodeWide(const std::uint8_t* in, unsigned count) {
    const std::int64_t word = LoadSigned<8>(in);
    const std::int64_t high = HighPart(in, count);
    // The common case: the extra bytes only repeat the sign of the 64-bit word.
    if ((high == 0 && word >= 0) || (high == -1 && word < 0)) return static_cast<double>(word);
    return std::ldexp(static_cast<double>(high), 64) + static_cast<double>(static_cast<std::uint64_t>(word));
}

// A list packet carries hundreds of values of one width; a loop per width
// lets each value be a single load or store.
template <unsigned N>
void EncodeRun(std::span<const double> values, unsigned fraction, std::uint8_t* out) {
    for (const double x : values) {
        StoreLow<N>(static_cast<std::uint64_t>(ToFixedPoint(x, fraction)), out);
        out += N;
    }
}

template <unsigned N>
void DecodeRun(const std::uint8_t* in, std::span<double> out, double scale) {
    for (double& value : out) {
        value = static_cast<double>(LoadSigned<N>(in)) * scale;
        in += N;
    }
}

}  // namespace

void EncodeValues(std::span<const double> values, std::uint8_t flagB, std::uint8_t* out) {
    const unsigned count = BytesPerValue(flagB);
    const unsigned fraction = FractionBytes(flagB);
    switch (count) {
        case 0: return;
        case 1: return EncodeRun<1>(values, fraction, out);
        case 2: return EncodeRun<2>(values, fraction, out);
        case 3: return EncodeRun<3>(values, fraction, out);
        case 4: return EncodeRun<4>(values, fraction, out);
        case 5: return EncodeRun<5>(values, fraction, out);
        case 6: return EncodeRun<6>(values, fraction, out);
        case 7: return EncodeRun<7>(values, fraction, out);
        case 8: return EncodeRun<8>(values, fraction, out);
        default:
            for (const double x : values) {
                EncodeWide(x, count, fraction, out);
                out += count;
            }
    }
}

void DecodeValues(const std::uint8_t* in, std::uint8_t flagB, std::span<double> out) {
    const unsigned count = BytesPerValue(flagB);
    // 256^-f is a power of two too, so the product is the correctly rounded
    // quotient, as ldexp would give.
    const double scale = kInversePowersOf256[FractionBytes(flagB)];
    switch (count) {
        case 0: return std::fill(out.begin(), out.end(), 0.0);
        case 1: return DecodeRun<1>(in, out, scale);
        case 2: return DecodeRun<2>(in, out, scale);
        case 3: return DecodeRun<3>(in, out, scale);
        case 4: return DecodeRun<4>(in, out, scale);
        case 5: return DecodeRun<5>(in, out, scale);
        case 6: return DecodeRun<6>(in, out, scale);
        case 7: return DecodeRun<7>(in, out, scale);
        case 8: return DecodeRun<8>(in, out, scale);
        default:
            for (double& value : out) {
                value = DecodeWide(in, count) * scale;
                in += count;
            }
    }
}

void EncodeValue(double x, std::uint8_t flagB, std::uint8_t* out) { EncodeValues({&x, 1}, flagB, out); }

double DecodeValue(const std::uint8_t* in, std::uint8_t flagB) {
    double value = 0.0;
    DecodeValues(in, flagB, {&value, 1});
    return value;
}

}  // namespace kvproto

#include "kvproto/value_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "kvproto/packet.h"

namespace {

using kvproto::BytesPerValue;
using kvproto::DecodeValue;
using kvproto::EncodeValue;
using Bytes = std::vector<std::uint8_t>;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint8_t kGuard = 0x5C;

// Encodes into a guarded buffer and fails if anything past the value changed.
Bytes Encode(double x, std::uint8_t flagB) {
    std::array<std::uint8_t, 32> buffer;
    buffer.fill(kGuard);
    EncodeValue(x, flagB, buffer.data());
    const unsigned count = BytesPerValue(flagB);
    for (unsigned i = count; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], kGuard) << "byte " << i << " written for FlagB " << int(flagB);
    }
    return Bytes(buffer.begin(), buffer.begin() + count);
}

Bytes Repeat(std::uint8_t byte, unsigned count) { return Bytes(count, byte); }

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct EncodeCase {
    std::uint8_t flagB;
    double value;
    Bytes bytes;
};

TEST(ValueCodec, EncodesKnownValues) {
    const std::vector<EncodeCase> cases = {
        {0x20, 3, {0x03, 0x00}},
        {0x60, 1e9, {0x00, 0xCA, 0x9A, 0x3B, 0x00, 0x00}},
        {0x21, -1.5, {0x80, 0xFE}},
        {0x10, 2.5, {0x03}},    // half away from zero
        {0x10, -2.5, {0xFD}},
        {0x10, 0.49, {0x00}},
        {0x10, -0.5, {0xFF}},
        {0x10, 0.49999999999999994, {0x00}},  // the double just below a half
        {0x80, 2251799813685248.5, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00}},  // 2^51 + 1/2
        {0x80, -4503599627370495.5, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0xFF}},  // -(2^52 - 1/2)
        {0x42, 1.5, {0x00, 0x80, 0x01, 0x00}},
        {0x43, -0.25, {0x00, 0x00, 0xC0, 0xFF}},
        {0x20, 65537, {0x01, 0x00}},  // only the lowest bytes are kept
        {0x80, -2, {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        // Past the eighth byte the sign repeats.
        {0xA0, -2, Concat({0xFE}, Repeat(0xFF, 9))},
        {0xA0, 5, Concat({0x05}, Repeat(0x00, 9))},
        {0xF0, -1, Repeat(0xFF, 15)},
        // Out of range: clamped to the 64-bit limits first.
        {0x80, 1e300, Concat(Repeat(0xFF, 7), {0x7F})},
        {0x80, -1e300, Concat(Repeat(0x00, 7), {0x80})},
        {0x80, kInf, Concat(Repeat(0xFF, 7), {0x7F})},
        {0x90, -kInf, Concat(Concat(Repeat(0x00, 7), {0x80}), {0xFF})},
        {0x80, 9223372036854775807.0, Concat(Repeat(0xFF, 7), {0x7F})},  // rounds to 2^63
        {0x80, -9223372036854775808.0, Concat(Repeat(0x00, 7), {0x80})},
        {0x20, 1e300, {0xFF, 0xFF}},
        {0x80, kNaN, Repeat(0x00, 8)},
        {0x20, -kNaN, {0x00, 0x00}},
        // Fraction counts beyond the practical 0..3 scale without overflow.
        {0xFF, 1.0, Concat(Concat(Repeat(0xFF, 7), {0x7F}), Repeat(0x00, 7))},
        {0x8F, std::ldexp(3.0, -120), {0x03, 0, 0, 0, 0, 0, 0, 0}},
        {0x00, 12345, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encode(c.value, c.flagB), c.bytes) << "FlagB " << int(c.flagB) << " value " << c.value;
    }
}

struct DecodeCase {
    std::uint8_t flagB;
    Bytes bytes;
    double value;
};

TEST(ValueCodec, DecodesKnownValues) {
    const std::vector<DecodeCase> cases = {
        {0x20, {0xFF, 0xFF}, -1},
        {0x21, {0xFF, 0xFF}, -1.0 / 256},
        {0x20, {0x03, 0x00}, 3},
        {0x20, {0x00, 0x80}, -32768},
        {0x20, {0xFF, 0x7F}, 32767},
        {0x10, {0x80}, -128},
        {0x30, {0xFF, 0xFF, 0x7F}, 8388607},
        {0x60, {0x00, 0xCA, 0x9A, 0x3B, 0x00, 0x00}, 1e9},
        {0x42, {0x00, 0x80, 0x01, 0x00}, 1.5},
        {0x80, Concat(Repeat(0x00, 7), {0x80}), -9223372036854775808.0},
        {0x00, {}, 0},
        {0x0F, {}, 0},
        // More than eight bytes: the last one carries the sign.
        {0xA0, Concat({0xFE}, Repeat(0xFF, 9)), -2},
        {0x90, Concat(Repeat(0x00, 8), {0x01}), 18446744073709551616.0},
        {0x90, Concat(Repeat(0xFF, 8), {0x00}), 18446744073709551615.0},
        {0x90, Concat(Repeat(0x00, 8), {0xFF}), -18446744073709551616.0},
        {0xF0, Concat(Repeat(0x00, 14), {0x80}), -std::ldexp(1.0, 119)},
        {0xFF, Repeat(0xFF, 15), -std::ldexp(1.0, -120)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeValue(c.bytes.data(), c.flagB), c.value) << "FlagB " << int(c.flagB);
    }
}

TEST(ValueCodec, RoundTripsWithinOneStep) {
    const std::uint8_t formats[] = {0x10, 0x20, 0x21, 0x40, 0x42, 0x60, 0x80, 0x83, 0xC2};
    const double values[] = {0, 1, -1, 0.3, -0.3, 100.125, -99.9, 1234.5678, -8000, 1e9};
    for (const std::uint8_t flagB : formats) {
        const unsigned count = BytesPerValue(flagB);
        const double step = std::ldexp(1.0, -8 * static_cast<int>(kvproto::FractionBytes(flagB)));
        // The largest magnitude the integer part can hold with these bytes.
        const double limit = std::ldexp(1.0, 8 * static_cast<int>(count) - 1) * step;
        for (const double x : values) {
            if (std::fabs(x) >= limit - 1) continue;
            const Bytes bytes = Encode(x, flagB);
            EXPECT_NEAR(DecodeValue(bytes.data(), flagB), x, step / 2)
                << "FlagB " << int(flagB) << " value " << x;
        }
    }
}

// Every format with values at the edges of double: nothing may write past the
// value, and the sign fill and results must stay sane. Under the sanitizer
// build this is also the check for undefined shifts and conversions.
TEST(ValueCodec, EveryFormatHandlesExtremes) {
    const double extremes[] = {0.0, -0.0, 1.5, -1.5, 1e300, -1e300, kInf, -kInf, kNaN,
                               std::numeric_limits<double>::denorm_min(),
                               std::numeric_limits<double>::max(),
                               -std::numeric_limits<double>::max()};
    const Bytes patterns[] = {Repeat(0x00, 15), Repeat(0xFF, 15), Repeat(0x80, 15), Repeat(0x7F, 15)};
    for (int format = 0; format <= 255; ++format) {
        const auto flagB = static_cast<std::uint8_t>(format);
        const unsigned count = BytesPerValue(flagB);
        for (const double x : extremes) {
            const Bytes bytes = Encode(x, flagB);
            if (count > 8) {
                const std::uint8_t fill = (bytes[7] & 0x80) != 0 ? 0xFF : 0x00;
                for (unsigned i = 8; i < count; ++i) ASSERT_EQ(bytes[i], fill) << "FlagB " << format;
            }
            if (count > 0) {
                const double back = DecodeValue(bytes.data(), flagB);
                ASSERT_TRUE(std::isfinite(back)) << "FlagB " << format << " value " << x;
                // With all 64 bits kept, clamping never flips the sign.
                if (count >= 8 && x > 0) {
                    EXPECT_GE(back, 0.0) << "FlagB " << format << " value " << x;
                } else if (count >= 8 && x < 0) {
                    EXPECT_LE(back, 0.0) << "FlagB " << format << " value " << x;
                }
            }
        }
        for (const Bytes& pattern : patterns) {
            ASSERT_TRUE(std::isfinite(DecodeValue(pattern.data(), flagB))) << "FlagB " << format;
        }
    }
}

}  // namespace

namespace {

// A run of values, one after another as a packet holds them, gives exactly
// the bytes and values the one-value functions give for each, and the run
// writes nothing past its end.
TEST(ValueCodec, RunsOfValuesMatchOneValueAtATime) {
    const std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 2.5, -2.5, 1.0 / 3, -1234.5678, 1e9, -1e9,
                                        1e300, -kInf, kNaN, 4503599627370495.5, 123456789.125};
    for (int format = 0; format <= 255; ++format) {
        const auto flagB = static_cast<std::uint8_t>(format);
        const unsigned count = BytesPerValue(flagB);
        Bytes run(values.size() * count + 16, kGuard);
        kvproto::EncodeValues(values, flagB, run.data());
        Bytes one;
        for (const double x : values) {
            const Bytes bytes = Encode(x, flagB);
            one.insert(one.end(), bytes.begin(), bytes.end());
        }
        ASSERT_EQ(Bytes(run.begin(), run.begin() + static_cast<std::ptrdiff_t>(one.size())), one)
            << "FlagB " << format;
        for (std::size_t i = one.size(); i < run.size(); ++i) ASSERT_EQ(run[i], kGuard) << "FlagB " << format;

        // Decoding arbitrary bytes: every byte value somewhere, both signs.
        Bytes raw(values.size() * count);
        for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i * 97 + 13);
        std::vector<double> decoded(values.size(), -7.0);
        kvproto::DecodeValues(raw.data(), flagB, decoded);
        for (std::size_t i = 0; i < values.size(); ++i) {
            ASSERT_EQ(decoded[i], DecodeValue(raw.data() + i * count, flagB)) << "FlagB " << format << " #" << i;
        }
    }
}

}  // namespace

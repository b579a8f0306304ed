// Fixed-point parameter values: two's complement, least significant byte
// first, n bytes of which f are fraction (the packet's FlagB).
#pragma once

#include <cstdint>
#include <span>

namespace kvproto {

// Stores x * 256^f, rounded half away from zero, as BytesPerValue(flagB)
// bytes; bytes beyond the eighth repeat the sign. Out-of-range values are
// clamped to the 64-bit range before the lowest bytes are taken.
void EncodeValue(double x, std::uint8_t flagB, std::uint8_t* out);

// Reads BytesPerValue(flagB) bytes (the last sign-extended) and divides by
// 256^f. Zero bytes per value decode as 0.
double DecodeValue(const std::uint8_t* in, std::uint8_t flagB);

// The same for consecutive values of one format, as a packet holds them.
void EncodeValues(std::span<const double> values, std::uint8_t flagB, std::uint8_t* out);
void DecodeValues(const std::uint8_t* in, std::uint8_t flagB, std::span<double> out);

}  // namespace kvproto

// Arbitrary bytes and formats through the packet value codec: no format may
// read or write past its value or hit undefined behaviour, decoding must give
// a finite number, and a decoded value must encode back to the same bytes
// whenever it is exactly representable.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "kvproto/packet.h"
#include "kvproto/value_codec.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The value's bytes with the sign repeated above the eighth, as the encoder
// writes them; only such byte strings can come back unchanged.
bool IsCanonical(const std::uint8_t* bytes, unsigned count) {
    if (count <= 8) return true;
    const std::uint8_t fill = (bytes[7] & 0x80) != 0 ? 0xFF : 0x00;
    for (unsigned i = 8; i < count; ++i) {
        if (bytes[i] != fill) return false;
    }
    return true;
}

// Whether the integer the low min(count, 8) bytes hold fits a double exactly.
bool FitsDouble(const std::uint8_t* bytes, unsigned count) {
    const unsigned low = count < 8 ? count : 8;
    std::uint64_t word = 0;
    for (unsigned i = 0; i < low; ++i) word |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    if (low < 8 && (bytes[low - 1] & 0x80) != 0) word |= ~std::uint64_t{0} << (8 * low);
    const auto value = static_cast<std::int64_t>(word);
    const std::int64_t limit = std::int64_t{1} << 53;
    return value >= -limit && value <= limit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // First byte: FlagB. Then the value's bytes, exactly as many as it uses,
    // so the sanitizer sees any read past them; then, if present, eight bytes
    // taken as a double to encode.
    if (size == 0) return 0;
    const std::uint8_t flagB = data[0];
    const unsigned count = kvproto::BytesPerValue(flagB);
    if (size < 1 + count) return 0;

    const std::vector<std::uint8_t> input(data + 1, data + 1 + count);
    const double decoded = kvproto::DecodeValue(input.data(), flagB);
    Require(std::isfinite(decoded), "a decoded value is finite");

    std::vector<std::uint8_t> encoded(count);
    kvproto::EncodeValue(decoded, flagB, encoded.data());
    if (count > 0 && IsCanonical(input.data(), count) && FitsDouble(input.data(), count)) {
        Require(encoded == input, "an exact value encodes back to its bytes");
    }
    Require(count == 0 || IsCanonical(encoded.data(), count), "the sign repeats above the eighth byte");

    if (size >= 1 + count + sizeof(double)) {
        double x = 0;
        std::memcpy(&x, data + 1 + count, sizeof x);
        kvproto::EncodeValue(x, flagB, encoded.data());
        Require(count == 0 || IsCanonical(encoded.data(), count), "the sign repeats above the eighth byte");
        if (std::isnan(x)) {
            for (const std::uint8_t byte : encoded) Require(byte == 0, "NaN encodes as zero");
        }
    }
    return 0;
}

// The instruments' binary packet: a 16-byte little-endian header and a body.
#pragma once

#include <array>
#include <cstdint>

namespace kvproto {

inline constexpr std::uint16_t kSignature = 0x55AA;
inline constexpr std::int16_t kRequestStatus = -32768;  // 0x8000 in every request
inline constexpr std::size_t kHeaderSize = 16;

// Command codes; the command table names them in this order.
enum ECommand : std::uint16_t {
    KV_TEST = 0,
    KV_RESET = 1,
    KV_INIT = 2,
    KV_SET = 3,
    KV_GET = 4,
    KV_GET_LIST = 5,
    KV_RUN = 6,
};

struct PacketHeader {
    std::uint16_t signature = kSignature;
    std::uint16_t command = 0;
    std::int16_t status = kRequestStatus;
    std::uint16_t bodyLen = 0;
    std::uint8_t flagA = 0;  // number of values in a set/get body
    std::uint8_t flagB = 0;  // high nibble: bytes per value; low nibble: fraction bytes
    std::uint16_t dummy = 0;
    std::uint32_t id = 0;
};

// Byte-exact little-endian (de)serialisation, whatever the host's order.
std::array<std::uint8_t, kHeaderSize> EncodeHeader(const PacketHeader& header);
PacketHeader DecodeHeader(const std::uint8_t* bytes);  // reads kHeaderSize bytes

inline constexpr unsigned BytesPerValue(std::uint8_t flagB) { return flagB >> 4; }
inline constexpr unsigned FractionBytes(std::uint8_t flagB) { return flagB & 0x0F; }

}  // namespace kvproto

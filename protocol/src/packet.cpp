#include "kvproto/packet.h"

namespace kvproto {
namespace {

// Byte by byte, so the wire order does not depend on the host's.
void Put16(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value & 0xFF);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t Get16(const std::uint8_t* in) {
    return static_cast<std::uint16_t>(in[0] | (in[1] << 8));
}

std::uint32_t Get32(const std::uint8_t* in) {
    return static_cast<std::uint32_t>(Get16(in)) | (static_cast<std::uint32_t>(Get16(in + 2)) << 16);
}

}  // namespace

std::array<std::uint8_t, kHeaderSize> EncodeHeader(const PacketHeader& header) {
    std::array<std::uint8_t, kHeaderSize> bytes{};
    Put16(&bytes[0], header.signature);
    Put16(&bytes[2], header.command);
    Put16(&bytes[4], static_cast<std::uint16_t>(header.status));
    Put16(&bytes[6], header.bodyLen);
    bytes[8] = header.flagA;
    bytes[9] = header.flagB;
    Put16(&bytes[10], header.dummy);
    Put32(&bytes[12], header.id);
    return bytes;
}

PacketHeader DecodeHeader(const std::uint8_t* bytes) {
    PacketHeader header;
    header.signature = Get16(bytes);
    header.command = Get16(bytes + 2);
    header.status = static_cast<std::int16_t>(Get16(bytes + 4));
    header.bodyLen = Get16(bytes + 6);
    header.flagA = bytes[8];
    header.flagB = bytes[9];
    header.dummy = Get16(bytes + 10);
    header.id = Get32(bytes + 12);
    return header;
}

}  // namespace kvproto

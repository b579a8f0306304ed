#include <limits>

#include "kvproto/packet_io.h"
#include "kvproto/value_codec.h"

namespace kvproto {

std::vector<std::uint8_t> BuildParameterPacket(std::uint16_t command, std::uint16_t paramId,
                                               const std::vector<double>& values,
                                               std::uint8_t flagB) {
    // FlagA counts the values in one byte; more would make a header that
    // disagrees with its body.
    if (values.size() > std::numeric_limits<std::uint8_t>::max()) return {};
    const unsigned valueSize = BytesPerValue(flagB);

    PacketHeader header;
    header.command = command;
    header.status = kRequestStatus;
    header.flagA = static_cast<std::uint8_t>(values.size());
    header.flagB = flagB;
    header.bodyLen = static_cast<std::uint16_t>(2 + values.size() * valueSize);

    std::vector<std::uint8_t> packet(kHeaderSize + header.bodyLen);
    const auto headerBytes = EncodeHeader(header);
    std::copy(headerBytes.begin(), headerBytes.end(), packet.begin());
    std::uint8_t* body = packet.data() + kHeaderSize;
    body[0] = static_cast<std::uint8_t>(paramId & 0xFF);
    body[1] = static_cast<std::uint8_t>(paramId >> 8);
    EncodeValues(values, flagB, body + 2);
    return packet;
}

}  // namespace kvproto

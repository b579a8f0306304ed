#include "test_packets.h"

#include "kvproto/packet_io.h"
#include "kvproto/value_codec.h"

namespace z5rtest {

std::vector<std::uint8_t> Request(std::uint16_t command, std::uint16_t param, const std::vector<double>& values,
                                  int flagB, std::uint32_t id) {
    const std::uint8_t format =
        flagB >= 0 ? static_cast<std::uint8_t>(flagB) : kvproto::InstrumentParamFormat(param);
    std::vector<std::uint8_t> packet = kvproto::BuildParameterPacket(command, param, values, format);
    if (!packet.empty()) {
        kvproto::PacketHeader header = kvproto::DecodeHeader(packet.data());
        header.id = id;
        const auto bytes = kvproto::EncodeHeader(header);
        std::copy(bytes.begin(), bytes.end(), packet.begin());
    }
    return packet;
}

std::vector<std::uint8_t> SetField(kvproto::EInstrumentField field, const std::vector<double>& values) {
    const kvproto::SInstrumentField& row = kvproto::InstrumentField(field);
    std::vector<double> body{static_cast<double>(row.index)};
    body.insert(body.end(), values.begin(), values.end());
    return Request(kvproto::KV_SET, row.param, body);
}

std::vector<std::uint8_t> GetField(kvproto::EInstrumentField field) {
    const kvproto::SInstrumentField& row = kvproto::InstrumentField(field);
    return Request(kvproto::KV_GET, row.param, {static_cast<double>(row.index)});
}

std::vector<std::uint8_t> Command(std::uint16_t command, std::uint32_t id) {
    kvproto::PacketHeader header;
    header.command = command;
    header.id = id;
    const auto bytes = kvproto::EncodeHeader(header);
    return {bytes.begin(), bytes.end()};
}

SAnswer ParseAnswer(const std::vector<std::uint8_t>& packet) {
    SAnswer answer;
    if (packet.size() < kvproto::kHeaderSize) return answer;
    answer.header = kvproto::DecodeHeader(packet.data());
    const kvproto::PacketHeader& header = answer.header;
    const unsigned valueSize = kvproto::BytesPerValue(header.flagB);
    const bool bodyMatches = packet.size() == kvproto::kHeaderSize + header.bodyLen;
    const bool valuesMatch = header.bodyLen == 0 ? header.flagA == 0 : header.bodyLen == 2 + header.flagA * valueSize;
    answer.wellFormed = header.signature == kvproto::kSignature && bodyMatches && valuesMatch;
    if (!answer.wellFormed || header.bodyLen < 2) return answer;
    const std::uint8_t* body = packet.data() + kvproto::kHeaderSize;
    answer.param = static_cast<std::uint16_t>(body[0] | (body[1] << 8));
    for (unsigned i = 0; i < header.flagA; ++i) {
        answer.values.push_back(kvproto::DecodeValue(body + 2 + i * valueSize, header.flagB));
    }
    return answer;
}

std::string AnswerText(const SAnswer& answer) {
    std::string text;
    for (std::size_t i = 1; i < answer.values.size(); ++i) {
        text += static_cast<char>(static_cast<std::uint8_t>(static_cast<int>(answer.values[i])));
    }
    return text;
}

}  // namespace z5rtest

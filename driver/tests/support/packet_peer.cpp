#include "support/packet_peer.h"

#include "kvproto/instrument_map.h"
#include "kvproto/packet_io.h"
#include "kvproto/value_codec.h"

namespace drvtest {

Bytes ParameterAnswer(std::uint16_t command, std::int16_t status, std::uint16_t param,
                      const std::vector<double>& values, std::uint8_t flagB) {
    Bytes packet = kvproto::BuildParameterPacket(command, param, values, flagB);
    packet[4] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(status) & 0xFF);
    packet[5] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(status) >> 8);
    return packet;
}

Bytes AnswerTo(const SRequest& request, std::int16_t status, const std::vector<double>& values) {
    return ParameterAnswer(request.header.command, status, request.param, values,
                           kvproto::InstrumentParamFormat(request.param));
}

std::optional<Bytes> PlainSynthesizer(const SRequest& request, double value) {
    using kvproto::EInstrumentField;
    const auto& type = kvproto::InstrumentField(EInstrumentField::InstrumentType);
    const auto& pulse = kvproto::InstrumentField(EInstrumentField::HasPulseModulation);
    if (request.header.command == kvproto::KV_SET) return AnswerTo(request, 0, request.values);
    if (request.header.command != kvproto::KV_GET) {
        kvproto::PacketHeader header;
        header.command = request.header.command;
        header.status = 0;
        const auto bytes = kvproto::EncodeHeader(header);
        return Bytes(bytes.begin(), bytes.end());
    }
    const double index = request.values.empty() ? 0 : request.values.front();
    if (request.param == type.param && index == type.index) {
        return AnswerTo(request, 0, {index, double(kvproto::kInstrumentTypeGenerator)});
    }
    if (request.param == pulse.param && index == pulse.index) {
        return AnswerTo(request, 0, {index, 1});
    }
    return AnswerTo(request, 0, {index, value});
}

CPacketPeer::CPacketPeer(Responder responder)
    : responder_(std::move(responder)), peer_([this](int fd) { Serve(fd); }) {}

std::vector<SRequest> CPacketPeer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void CPacketPeer::Serve(int fd) {
    for (;;) {
        SRequest request;
        request.bytes.resize(kvproto::kHeaderSize);
        if (!kvtest::ReadExactly(fd, request.bytes.data(), kvproto::kHeaderSize, 10000)) return;
        request.header = kvproto::DecodeHeader(request.bytes.data());
        request.bytes.resize(kvproto::kHeaderSize + request.header.bodyLen);
        if (request.header.bodyLen != 0 &&
            !kvtest::ReadExactly(fd, request.bytes.data() + kvproto::kHeaderSize,
                                 request.header.bodyLen, 10000)) {
            return;
        }
        const std::uint8_t* body = request.bytes.data() + kvproto::kHeaderSize;
        if (request.header.bodyLen >= 2) {
            request.param = static_cast<std::uint16_t>(body[0] | (body[1] << 8));
            const unsigned size = kvproto::BytesPerValue(request.header.flagB);
            for (unsigned i = 0; size != 0 && i < request.header.flagA &&
                                 2 + (i + 1) * size <= request.header.bodyLen;
                 ++i) {
                request.values.push_back(kvproto::DecodeValue(body + 2 + i * size, request.header.flagB));
            }
        }
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const std::optional<Bytes> answer = responder_(request);
        if (!answer) return;
        if (!answer->empty() && !kvtest::WriteAll(fd, answer->data(), answer->size())) return;
    }
}

}  // namespace drvtest

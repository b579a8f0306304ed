#include "protocol_channel.h"

#include "korvel/korvel_v8n.h"
#include "kvproto/packet_io.h"
#include "kvproto/value_codec.h"
#include "kvproto/instrument_map.h"

namespace korvel::v8n {
namespace {

constexpr std::size_t kParamIdSize = 2;

std::uint16_t Get16(const std::uint8_t* in) {
    return static_cast<std::uint16_t>(in[0] | (in[1] << 8));
}

}  // namespace

ViStatus CProtocolChannel::Open(const std::string& resource, std::uint32_t timeoutMs) {
    linkBroken_ = false;
    return link_.Open(resource, timeoutMs);
}

HRESULT CProtocolChannel::BadAnswer() {
    // Whatever follows in the stream cannot be trusted either.
    link_.RequireFreshConnection();
    return KORVEL_E_BAD_ANSWER;
}

HRESULT CProtocolChannel::Transfer(const std::vector<std::uint8_t>& request,
                                   std::uint16_t command, std::vector<std::uint8_t>& answer,
                                   std::int16_t& status) {
    const ViStatus transferred = link_.Exchange(request, answer);
    if (transferred != VI_SUCCESS) {
        errors_.PushVisaStatus(transferred);
        linkBroken_ = true;
        return KORVEL_E_IO;
    }
    linkBroken_ = false;
    const kvproto::PacketHeader header = kvproto::DecodeHeader(answer.data());
    if (header.command != command) return BadAnswer();
    status = header.status;
    if (status < 0) {
        errors_.PushInstrumentStatus(status);
        return KORVEL_E_INSTRUMENT_STATUS;
    }
    return S_OK;
}

HRESULT CProtocolChannel::Parameter(std::uint16_t command, std::uint16_t param,
                                    std::span<const double> wire, std::size_t answerValues,
                                    SReply& reply, EAnswerUse use) {
    reply = SReply{};
    if (wire.empty()) return E_INVALIDARG;
    const std::uint8_t format = kvproto::InstrumentParamFormat(param);
    const auto request = kvproto::BuildParameterPacket(
        command, param, std::vector<double>(wire.begin(), wire.end()), format);
    if (request.empty()) return E_INVALIDARG;  // more values than one packet carries

    std::vector<std::uint8_t> answer;
    const HRESULT transferred = Transfer(request, command, answer, reply.status);
    if (Failed(transferred)) return transferred;

    const kvproto::PacketHeader header = kvproto::DecodeHeader(answer.data());
    const std::size_t valueSize = kvproto::BytesPerValue(header.flagB);
    const std::size_t count = header.flagA;
    if (header.bodyLen < kParamIdSize + count * valueSize || valueSize == 0 ||
        count < 1 + answerValues) {
        return BadAnswer();
    }
    const std::uint8_t* body = answer.data() + kvproto::kHeaderSize;
    if (Get16(body) != param) return BadAnswer();
    const std::uint8_t* values = body + kParamIdSize;
    // The field index or offset comes back as it went.
    const double first = kvproto::DecodeValue(values, header.flagB);
    std::uint8_t sentFirst[16] = {};  // the widest a format can be
    kvproto::EncodeValue(wire.front(), format, sentFirst);
    if (first != kvproto::DecodeValue(sentFirst, format)) return BadAnswer();
    if (use == EAnswerUse::StatusOnly) return S_OK;

    reply.values.resize(count - 1);
    kvproto::DecodeValues(values + valueSize, header.flagB, reply.values);
    return S_OK;
}

HRESULT CProtocolChannel::Command(std::uint16_t command) {
    kvproto::PacketHeader header;
    header.command = command;
    const auto encoded = kvproto::EncodeHeader(header);
    const std::vector<std::uint8_t> request(encoded.begin(), encoded.end());
    std::vector<std::uint8_t> answer;
    std::int16_t status = 0;
    return Transfer(request, command, answer, status);
}

}  // namespace korvel::v8n

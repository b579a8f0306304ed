#include "request_parser.h"

#include "instrument_status.h"
#include "kvproto/value_codec.h"

namespace z5rsim {

SParsedRequest ParseRequest(std::span<const std::uint8_t> packet) {
    SParsedRequest request;
    if (packet.size() < kvproto::kHeaderSize) {
        request.status = KV_SMALL_SIZE;
        return request;
    }
    request.header = kvproto::DecodeHeader(packet.data());
    const kvproto::PacketHeader& header = request.header;
    if (header.signature != kvproto::kSignature) {
        request.status = KV_SIGNATURE_ERROR;
        return request;
    }
    const std::span<const std::uint8_t> body = packet.subspan(kvproto::kHeaderSize);
    if (body.size() < header.bodyLen) {
        request.status = KV_SMALL_SIZE;
        return request;
    }
    if (header.command != kvproto::KV_SET && header.command != kvproto::KV_GET) return request;

    if (header.bodyLen < 2) {
        request.status = KV_SMALL_SIZE;
        return request;
    }
    request.hasParam = true;
    request.param = static_cast<std::uint16_t>(body[0] | (body[1] << 8));
    const std::size_t valueSize = kvproto::BytesPerValue(header.flagB);
    if (header.flagA > 0 && valueSize == 0) {
        request.status = KV_SIZE_ERROR;  // values of no size cannot be counted
        return request;
    }
    const std::size_t needed = 2 + header.flagA * valueSize;
    if (header.bodyLen < needed) {
        request.status = KV_SMALL_SIZE;
        return request;
    }
    if (header.bodyLen > needed + needed % 2) {
        request.status = KV_SIZE_ERROR;
        return request;
    }
    request.values.resize(header.flagA);
    kvproto::DecodeValues(body.data() + 2, header.flagB, request.values);
    return request;
}

}  // namespace z5rsim

#include "tcs_line.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "kvproto/packet.h"
#include "kvproto/value_codec.h"
#include "kvvisa/visa.h"
#include "resource_name.h"
#include "tcs_grammar.h"

namespace kv {

namespace {

constexpr unsigned kMaxValueBytes = 15;  // the high nibble of FlagB
constexpr std::uint16_t kCommandStatus = 0x8000;

// FlagB of a set or get line that does not give it: the parameter's own
// format when the protocol knows one, else the value width the explicit
// body length implies, else none.
std::optional<std::uint8_t> ImpliedFormat(const SLine& line, int parameterId,
                                          const IProtocolNames& names) {
    const int size = names.ParameterSize(parameterId);
    const int fraction = names.ParameterFract(parameterId);
    const auto format =
        static_cast<std::uint8_t>(static_cast<unsigned>(size) * 16u + static_cast<unsigned>(fraction));
    if (size != 0 && format != 0) return format;
    const std::size_t count = line.values.size();
    if (count == 0 || !line.fields[kFieldBodyLen]) return std::uint8_t{0};
    const std::int64_t perValue =
        (static_cast<std::int64_t>(*line.fields[kFieldBodyLen]) - 2) / static_cast<std::int64_t>(count);
    if (perValue < 1 || perValue > kMaxValueBytes) return std::nullopt;
    return static_cast<std::uint8_t>(perValue * 16);
}

// Appends up to `room` bytes of `bytes` at `at`; the body may be shorter
// than its content when the line gives a smaller body length.
void PutClipped(std::vector<std::uint8_t>& packet, std::size_t& at, const std::uint8_t* bytes,
                std::size_t count) {
    const std::size_t room = packet.size() > at ? packet.size() - at : 0;
    const std::size_t n = count < room ? count : room;
    std::copy(bytes, bytes + n, packet.begin() + static_cast<std::ptrdiff_t>(at));
    at += n;
}

ViStatus BuildPacket(const SLine& line, const IProtocolNames& names,
                     std::vector<std::uint8_t>& packet) {
    const auto& fields = line.fields;
    kvproto::PacketHeader header;
    header.signature = static_cast<std::uint16_t>(fields[kFieldSignature].value_or(kvproto::kSignature));
    header.status = static_cast<std::int16_t>(
        static_cast<std::uint16_t>(fields[kFieldStatus].value_or(kCommandStatus)));
    header.dummy = static_cast<std::uint16_t>(fields[kFieldDummy].value_or(0));
    header.id = fields[kFieldId].value_or(0);
    header.flagA = static_cast<std::uint8_t>(fields[kFieldFlagA].value_or(0));
    header.flagB = static_cast<std::uint8_t>(fields[kFieldFlagB].value_or(0));
    header.bodyLen = static_cast<std::uint16_t>(fields[kFieldBodyLen].value_or(0));

    const std::string name = ToUpper(line.name);
    const bool parameter = line.kind != ELineKind::Command;
    std::uint16_t parameterId = 0;
    if (parameter) {
        header.command = line.kind == ELineKind::Set ? kvproto::KV_SET : kvproto::KV_GET;
        const int id = names.ParameterId(name);
        if (id < 0 || id > 0xFFFF) return VI_ERROR_INV_FMT;
        parameterId = static_cast<std::uint16_t>(id);
        const std::size_t count = line.values.size();
        if (!fields[kFieldFlagA]) header.flagA = static_cast<std::uint8_t>(count);
        if (!fields[kFieldFlagB]) {
            const auto format = ImpliedFormat(line, id, names);
            if (!format) return VI_ERROR_INV_FMT;
            header.flagB = *format;
        }
        if (!fields[kFieldBodyLen]) {
            const std::size_t length = 2 + count * kvproto::BytesPerValue(header.flagB);
            header.bodyLen = static_cast<std::uint16_t>((length + 1) & ~std::size_t{1});
        }
    } else {
        const int code = names.CommandId(name);
        if (code < 0 || code > 0xFFFF) return VI_ERROR_INV_FMT;
        header.command = static_cast<std::uint16_t>(code);
    }

    // A plain command's explicit body carries zeros.
    packet.assign(kvproto::kHeaderSize + header.bodyLen, 0);
    const auto encoded = kvproto::EncodeHeader(header);
    std::copy(encoded.begin(), encoded.end(), packet.begin());
    if (!parameter) return VI_SUCCESS;

    std::size_t at = kvproto::kHeaderSize;
    const std::uint8_t id[2] = {static_cast<std::uint8_t>(parameterId & 0xFF),
                                static_cast<std::uint8_t>(parameterId >> 8)};
    PutClipped(packet, at, id, sizeof id);
    const unsigned width = kvproto::BytesPerValue(header.flagB);
    for (const double value : line.values) {
        std::uint8_t bytes[kMaxValueBytes];
        kvproto::EncodeValue(value, header.flagB, bytes);
        PutClipped(packet, at, bytes, width);
    }
    return VI_SUCCESS;
}

}  // namespace

ViStatus TranslateLine(std::string_view line, const IProtocolNames& names,
                       std::vector<std::uint8_t>& packet) {
    packet.clear();
    const LineParse parsed = ParseLine(line);
    const auto* parsedLine = std::get_if<SLine>(&parsed);
    if (parsedLine == nullptr) return VI_ERROR_INV_FMT;
    const ViStatus status = BuildPacket(*parsedLine, names, packet);
    if (status != VI_SUCCESS) packet.clear();
    return status;
}

}  // namespace kv

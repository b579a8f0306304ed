#include "tcs_text.h"

#include <charconv>
#include <string_view>

#include "kvproto/packet.h"
#include "kvproto/value_codec.h"

namespace kv {

namespace {

template <typename Number>
void AppendNumber(std::string& out, Number value, int base) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, base);
    out.append(digits, result.ptr);
}

void AppendHex(std::string& out, unsigned value) {
    out += "0x";
    AppendNumber(out, value, 16);
}

// 13 significant digits, whatever the process's locale.
void AppendValue(std::string& out, double value) {
    char digits[32];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 13);
    out.append(digits, result.ptr);
}

// A status name as the protocol library gives it may carry "= value".
std::string_view BareName(std::string_view name) {
    name = name.substr(0, name.find('='));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    return name;
}

void AppendField(std::string& out, std::string_view field) {
    out += ' ';
    out += field;
    out += '=';
}

}  // namespace

std::string PacketToText(const std::uint8_t* packet, std::size_t size,
                         std::int16_t expectedStatus, const IProtocolNames& names) {
    const kvproto::PacketHeader header = kvproto::DecodeHeader(packet);
    const std::uint8_t* body = packet + kvproto::kHeaderSize;
    const std::size_t bodyHeld =
        std::min<std::size_t>(header.bodyLen, size - kvproto::kHeaderSize);
    const bool parameter = (header.command == kvproto::KV_SET || header.command == kvproto::KV_GET) &&
                           header.bodyLen >= 2 && bodyHeld >= 2;

    std::string line;
    line.reserve(64);
    const int code = parameter ? body[0] | (body[1] << 8) : header.command;
    const std::string_view name = parameter ? names.ParameterName(code) : names.CommandName(code);
    if (name.empty()) {
        AppendHex(line, static_cast<unsigned>(code));
    } else {
        line += name;
    }

    std::string fields;
    if (header.signature != kvproto::kSignature) {
        AppendField(fields, "Signature");
        AppendNumber(fields, header.signature, 16);
    }
    const unsigned width = kvproto::BytesPerValue(header.flagB);
    std::uint8_t usualFormat = 0;
    if (parameter) {
        usualFormat = static_cast<std::uint8_t>(static_cast<unsigned>(names.ParameterSize(code)) * 16u +
                                                static_cast<unsigned>(names.ParameterFract(code)));
    }
    if (header.flagB != 0 && (!parameter || header.flagB != usualFormat)) {
        AppendField(fields, "FlagB");
        AppendHex(fields, header.flagB);
    }
    const bool lengthMismatch =
        parameter && header.bodyLen != static_cast<unsigned>(header.flagA) * width + 2;
    if ((!parameter && header.bodyLen != 0) || lengthMismatch) {
        AppendField(fields, "BodyLen");
        AppendNumber(fields, header.bodyLen, 10);
    }
    if ((!parameter && header.flagA != 0) || lengthMismatch) {
        AppendField(fields, "FlagA");
        AppendHex(fields, header.flagA);
    }
    if (header.status != expectedStatus) {
        AppendField(fields, "Status");
        const std::string_view statusName = BareName(names.ErrorName(header.status));
        if (statusName.empty()) {
            AppendHex(fields, static_cast<std::uint16_t>(header.status));
        } else {
            fields += statusName;
        }
    }
    if (header.id != 0) {
        AppendField(fields, "ID");
        AppendNumber(fields, header.id, 10);
    }
    if (header.dummy != 0) {
        AppendField(fields, "Dummy");
        AppendNumber(fields, header.dummy, 10);
    }
    if (!fields.empty()) {
        line += " (";
        line += fields;
        line += " )";
    }

    if (parameter) {
        line += header.command == kvproto::KV_SET ? " =" : " ?";
        std::size_t count = width != 0 ? (header.bodyLen - 2u) / width : header.flagA;
        // Only values whose bytes are all there.
        if (width != 0) count = std::min(count, (bodyHeld - 2) / width);
        const std::uint8_t* value = body + 2;
        for (std::size_t i = 0; i < count; ++i, value += width) {
            line += ' ';
            AppendValue(line, kvproto::DecodeValue(value, header.flagB));
        }
    }
    return line;
}

}  // namespace kv

#include "tcs_line.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "kvproto/packet.h"
#include "kvproto/value_codec.h"
#include "kvvisa/visa.h"

namespace kv {

namespace {

// Header fields a line may give explicitly.
enum EField : std::size_t { kSignature, kStatus, kBodyLen, kFlagA, kFlagB, kId, kDummy, kFieldCount };

struct FieldKey {
    std::string_view key;
    EField field;
};
constexpr FieldKey kFieldKeys[] = {
    {"signature", kSignature}, {"status", kStatus}, {"bodylen", kBodyLen},
    {"flaga", kFlagA},         {"a", kFlagA},       {"flagb", kFlagB},
    {"b", kFlagB},             {"id", kId},         {"dummy", kDummy},
};

// What each field accepts: the lengths are counts; the other fields may also
// be given as negative numbers, stored in two's complement.
struct Range {
    std::int64_t low;
    std::int64_t high;
};
constexpr std::array<Range, kFieldCount> kFieldRanges = {{
    {-32768, 0xFFFF},                                // signature
    {-32768, 0xFFFF},                                // status
    {0, 0xFFFF},                                     // bodylen
    {0, 0xFF},                                       // flaga
    {-128, 0xFF},                                    // flagb
    {std::numeric_limits<std::int32_t>::min(), 0xFFFFFFFF},  // id
    {-32768, 0xFFFF},                                // dummy
}};

constexpr std::size_t kMaxValues = 0xFF;  // their count goes into FlagA
constexpr unsigned kMaxValueBytes = 15;   // the high nibble of FlagB

enum class EKind { Command, Set, Get };

struct ParsedLine {
    std::string name;  // upper-cased
    EKind kind = EKind::Command;
    std::array<std::optional<std::uint32_t>, kFieldCount> fields;
    std::vector<double> values;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsUpperHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }

class CCursor {
public:
    explicit CCursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    bool At(char c) const { return !AtEnd() && text_[pos_] == c; }
    bool Take(char c) {
        if (!At(c)) return false;
        ++pos_;
        return true;
    }
    void SkipBlanks() { TakeWhile(IsBlank); }
    template <typename Predicate>
    std::string_view TakeWhile(Predicate predicate) {
        const std::size_t start = pos_;
        while (!AtEnd() && predicate(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }
    std::string_view Rest() const { return text_.substr(pos_); }
    void Advance(std::size_t n) { pos_ += n; }
    std::size_t Position() const { return pos_; }
    std::string_view Since(std::size_t start) const { return text_.substr(start, pos_ - start); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// An override value: "0x" and hexadecimal digits of either case, or an
// optionally negative decimal number.
std::optional<std::int64_t> ParseFieldValue(std::string_view token) {
    bool negative = false;
    if (!token.empty() && token.front() == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    int base = 10;
    if (!negative && token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        base = 16;
        token.remove_prefix(2);
    }
    if (token.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, magnitude, base);
    if (error != std::errc() || stop != end) return std::nullopt;
    // Every field is at most 32 bits wide; anything larger is refused anyway.
    if (magnitude > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

std::optional<EField> FieldOf(std::string_view key) {
    for (const auto& entry : kFieldKeys) {
        if (entry.key == key) return entry.field;
    }
    return std::nullopt;
}

// After "(": pairs key=value up to ")". A key without "=" and a key that
// names no field are ignored.
bool ParseOverrides(CCursor& cursor, ParsedLine& line) {
    for (;;) {
        cursor.SkipBlanks();
        if (cursor.AtEnd()) return false;
        if (cursor.Take(')')) return true;
        std::string key(cursor.TakeWhile(IsLetter));
        if (key.empty()) return false;
        for (char& c : key) c = static_cast<char>(c | 0x20);  // letters only: lower-case
        cursor.SkipBlanks();
        if (!cursor.Take('=')) continue;
        cursor.SkipBlanks();
        const std::size_t start = cursor.Position();
        cursor.Take('-');
        cursor.TakeWhile(IsWordChar);
        const auto value = ParseFieldValue(cursor.Since(start));
        if (!value) return false;
        const auto field = FieldOf(key);
        if (!field) continue;
        const Range range = kFieldRanges[*field];
        if (*value < range.low || *value > range.high) return false;
        line.fields[*field] = static_cast<std::uint32_t>(*value);
    }
}

// Length of the number that starts `text`, 0 when none does: "0x" with
// upper-case hexadecimal digits, or "-"? digits ("." digits)? (e "-"? digits)?.
std::size_t NumberLength(std::string_view text, bool& hexadecimal) {
    hexadecimal = false;
    if (text.size() > 2 && text[0] == '0' && text[1] == 'x' && IsUpperHexDigit(text[2])) {
        std::size_t n = 3;
        while (n < text.size() && IsUpperHexDigit(text[n])) ++n;
        hexadecimal = true;
        return n;
    }
    std::size_t n = 0;
    if (n < text.size() && text[n] == '-') ++n;
    const std::size_t digitsStart = n;
    while (n < text.size() && IsDigit(text[n])) ++n;
    if (n == digitsStart) return 0;
    if (n < text.size() && text[n] == '.') {
        ++n;
        while (n < text.size() && IsDigit(text[n])) ++n;
    }
    if (n < text.size() && (text[n] == 'e' || text[n] == 'E')) {
        std::size_t e = n + 1;
        if (e < text.size() && (text[e] == '-' || text[e] == '+')) ++e;
        if (e < text.size() && IsDigit(text[e])) {
            while (e < text.size() && IsDigit(text[e])) ++e;
            n = e;
        }
    }
    return n;
}

std::optional<double> TakeNumber(CCursor& cursor) {
    const std::string_view rest = cursor.Rest();
    bool hexadecimal = false;
    const std::size_t length = NumberLength(rest, hexadecimal);
    if (length == 0) return std::nullopt;
    const char* end = rest.data() + length;
    double value = 0;
    if (hexadecimal) {
        std::uint64_t bits = 0;
        const auto [stop, error] = std::from_chars(rest.data() + 2, end, bits, 16);
        if (error != std::errc() || stop != end) return std::nullopt;
        value = static_cast<double>(bits);
    } else {
        const auto [stop, error] = std::from_chars(rest.data(), end, value);
        if (error != std::errc() || stop != end) return std::nullopt;
    }
    cursor.Advance(length);
    return value;
}

std::optional<ParsedLine> ParseLine(std::string_view text) {
    ParsedLine line;
    CCursor cursor(text);
    cursor.SkipBlanks();
    line.name = cursor.TakeWhile(IsWordChar);
    for (char& c : line.name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    cursor.SkipBlanks();
    if (cursor.Take('(') && !ParseOverrides(cursor, line)) return std::nullopt;
    cursor.SkipBlanks();
    if (cursor.AtEnd()) return line;
    if (cursor.Take('=')) {
        line.kind = EKind::Set;
    } else if (cursor.Take('?')) {
        line.kind = EKind::Get;
    } else {
        return std::nullopt;
    }
    for (;;) {
        cursor.SkipBlanks();
        if (cursor.AtEnd()) return line;
        const auto number = TakeNumber(cursor);
        if (!number || line.values.size() == kMaxValues) return std::nullopt;
        line.values.push_back(*number);
        // Numbers are separated by blanks: "1,2" or "5x" is not a number list.
        if (!cursor.AtEnd() && !cursor.At(' ') && !cursor.At('\t')) return std::nullopt;
    }
}

// FlagB of a set or get line that does not give it: the parameter's own
// format when the protocol knows one, else the value width the explicit
// body length implies, else none.
std::optional<std::uint8_t> ImpliedFormat(const ParsedLine& line, int parameterId,
                                          const IProtocolNames& names) {
    const int size = names.ParameterSize(parameterId);
    const int fraction = names.ParameterFract(parameterId);
    const auto format =
        static_cast<std::uint8_t>(static_cast<unsigned>(size) * 16u + static_cast<unsigned>(fraction));
    if (size != 0 && format != 0) return format;
    const std::size_t count = line.values.size();
    if (count == 0 || !line.fields[kBodyLen]) return std::uint8_t{0};
    const std::int64_t perValue =
        (static_cast<std::int64_t>(*line.fields[kBodyLen]) - 2) / static_cast<std::int64_t>(count);
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

ViStatus BuildPacket(const ParsedLine& line, const IProtocolNames& names,
                     std::vector<std::uint8_t>& packet) {
    const auto& fields = line.fields;
    kvproto::PacketHeader header;
    header.signature = static_cast<std::uint16_t>(fields[kSignature].value_or(kvproto::kSignature));
    header.status = static_cast<std::int16_t>(
        static_cast<std::uint16_t>(fields[kStatus].value_or(0x8000)));
    header.dummy = static_cast<std::uint16_t>(fields[kDummy].value_or(0));
    header.id = fields[kId].value_or(0);
    header.flagA = static_cast<std::uint8_t>(fields[kFlagA].value_or(0));
    header.flagB = static_cast<std::uint8_t>(fields[kFlagB].value_or(0));
    header.bodyLen = static_cast<std::uint16_t>(fields[kBodyLen].value_or(0));

    const bool parameter = line.kind != EKind::Command;
    std::uint16_t parameterId = 0;
    if (parameter) {
        header.command = line.kind == EKind::Set ? kvproto::KV_SET : kvproto::KV_GET;
        const int id = names.ParameterId(line.name);
        if (id < 0 || id > 0xFFFF) return VI_ERROR_INV_FMT;
        parameterId = static_cast<std::uint16_t>(id);
        const std::size_t count = line.values.size();
        if (!fields[kFlagA]) header.flagA = static_cast<std::uint8_t>(count);
        if (!fields[kFlagB]) {
            const auto format = ImpliedFormat(line, id, names);
            if (!format) return VI_ERROR_INV_FMT;
            header.flagB = *format;
        }
        if (!fields[kBodyLen]) {
            const std::size_t length = 2 + count * kvproto::BytesPerValue(header.flagB);
            header.bodyLen = static_cast<std::uint16_t>((length + 1) & ~std::size_t{1});
        }
    } else {
        const int code = names.CommandId(line.name);
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
    const auto parsed = ParseLine(line);
    if (!parsed) return VI_ERROR_INV_FMT;
    const ViStatus status = BuildPacket(*parsed, names, packet);
    if (status != VI_SUCCESS) packet.clear();
    return status;
}

}  // namespace kv

// The grammar of the text layer's written lines, for the layer itself and for
// tools that want to say what is wrong with a line before sending it:
//
//   NAME [ "(" { key [ "=" value ] } ")" ] [ ("=" | "?") { number } ]
//
// NAME: letters, digits and "_" (looked up upper-cased). key: letters, a
// header field (signature, status, bodylen, flaga or a, flagb or b, id,
// dummy) in any case; a key without "=" and a key that names no field are
// ignored. value: an optionally negative decimal, or "0x" / "0X" and
// hexadecimal digits of either case, in the field's range. number: "0x" and
// upper-case hexadecimal digits, or a decimal with optional "-", fraction and
// exponent; at most 255 of them, separated by blanks. Blanks may separate
// everything.
//     KV_RESET
//     P_MODE = 3
//     P_FREQUENCY (b=0x60) ?
//     KV_RUN (bodylen=8 id=12)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kv {

enum class ELineKind { Command, Set, Get };

// The header fields a line may give explicitly.
enum EHeaderField : std::size_t {
    kFieldSignature,
    kFieldStatus,
    kFieldBodyLen,
    kFieldFlagA,
    kFieldFlagB,
    kFieldId,
    kFieldDummy,
    kHeaderFieldCount
};

// The value count goes into FlagA.
inline constexpr std::size_t kMaxLineValues = 0xFF;

struct SLine {
    std::string name;  // as written
    ELineKind kind = ELineKind::Command;
    // Negative values are stored in two's complement of the field's width.
    std::array<std::optional<std::uint32_t>, kHeaderFieldCount> fields;
    std::vector<double> values;
    // Keys that were ignored, as written: unknown ones and those without "=".
    std::vector<std::string> ignoredKeys;
};

struct SLineProblem {
    std::string token;    // the offending part of the line, as written
    std::string message;  // names the token (quoted) and says what is wrong
};

using LineParse = std::variant<SLine, SLineProblem>;

// The keys that name a header field, for a message: "signature, status, ...".
std::string_view KnownHeaderKeys();

// One line without its line end.
LineParse ParseLine(std::string_view line);

}  // namespace kv

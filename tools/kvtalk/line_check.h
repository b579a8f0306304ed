// Checks a kvtalk input line against the text layer's grammar before it is
// sent, so a bad line can be reported with the token at fault; the library
// itself only answers "invalid format".
//
//   NAME [ "(" { key "=" value } ")" ] [ ("=" | "?") { number } ]
//
// NAME: letters, digits, "_". key: a header field (signature, status,
// bodylen, flaga or a, flagb or b, id, dummy). value: decimal, optionally
// negative, or "0x" and hexadecimal digits of either case, in the field's
// range. number: "0x" and upper-case hexadecimal digits, or a decimal with
// optional "-", fraction and exponent ("e" or "e-" and digits), at most 255
// of them. Blanks may separate everything; numbers must be separated by
// blanks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace kvtalk {

enum class ELineKind { Command, Set, Get };

struct LineShape {
    std::string name;
    ELineKind kind = ELineKind::Command;
    std::size_t valueCount = 0;
    bool bodyLenGiven = false;
};

struct LineProblem {
    std::string token;    // the offending part of the line, as written
    std::string message;  // names the token (quoted) and says what is wrong
};

using LineCheck = std::variant<LineShape, LineProblem>;

LineCheck CheckLine(std::string_view line);

// Lines kvtalk skips: empty, blanks only, or a comment starting with "#".
bool IsBlankOrComment(std::string_view line);

// `text` in double quotes for a message: control and non-ASCII bytes as
// \xNN, and cut with "..." after `maxLength` characters.
std::string Quoted(std::string_view text, std::size_t maxLength = 60);

}  // namespace kvtalk

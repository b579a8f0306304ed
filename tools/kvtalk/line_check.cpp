#include "line_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>

namespace kvtalk {

namespace {

// One value of a packet header field may hold.
struct HeaderField {
    std::string_view key;
    long long lowest;
    long long highest;
};

// The lengths are counts; every other field also accepts the negative values
// of its width (the layer stores the two's complement).
constexpr std::array kHeaderFields{
    HeaderField{"signature", -32768, 65535}, HeaderField{"status", -32768, 65535},
    HeaderField{"bodylen", 0, 65535},        HeaderField{"flaga", 0, 255},
    HeaderField{"a", 0, 255},                HeaderField{"flagb", -128, 255},
    HeaderField{"b", -128, 255},             HeaderField{"dummy", -32768, 65535},
    HeaderField{"id", -2147483648LL, 4294967295LL},
};

// FlagA holds the value count in one byte.
constexpr std::size_t kMostValues = 255;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsUpperHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }
bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

const HeaderField* FindHeaderField(std::string_view key) {
    const std::string lowered = Lowered(key);
    for (const auto& field : kHeaderFields) {
        if (field.key == lowered) return &field;
    }
    return nullptr;
}

// A header field value: optionally negative decimal, or "0x" and hex digits
// of either case. Nothing when malformed; huge values saturate, so that the
// range check reports them.
std::optional<long long> ReadHeaderValue(std::string_view text) {
    constexpr long long kSaturated = 1LL << 40;
    const bool hex = text.starts_with("0x");
    const bool negative = !hex && text.starts_with('-');
    const std::string_view digits = text.substr(hex ? 2 : negative ? 1 : 0);
    if (digits.empty()) return std::nullopt;
    const int base = hex ? 16 : 10;
    long long value = 0;
    for (const char c : digits) {
        int digit = 0;
        if (IsDigit(c)) {
            digit = c - '0';
        } else if (hex && IsHexDigit(c)) {
            digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        } else {
            return std::nullopt;
        }
        value = std::min(value * base + digit, kSaturated);
    }
    return negative ? -value : value;
}

bool IsDigitRun(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A number after "=" or "?": -D[.D][e[-]D] or 0xHEX (upper case).
bool IsNumber(std::string_view text) {
    if (text.starts_with("0x")) {
        const std::string_view digits = text.substr(2);
        return !digits.empty() && std::all_of(digits.begin(), digits.end(), IsUpperHexDigit);
    }
    if (text.starts_with('-')) text.remove_prefix(1);
    const auto mantissaEnd = std::min(text.find('e'), text.size());
    std::string_view mantissa = text.substr(0, mantissaEnd);
    const auto point = mantissa.find('.');
    if (point != std::string_view::npos) {
        if (!IsDigitRun(mantissa.substr(point + 1))) return false;
        mantissa = mantissa.substr(0, point);
    }
    if (!IsDigitRun(mantissa)) return false;
    if (mantissaEnd == text.size()) return true;
    std::string_view exponent = text.substr(mantissaEnd + 1);
    if (exponent.starts_with('-')) exponent.remove_prefix(1);
    return IsDigitRun(exponent);
}

std::string NumberProblem(std::string_view token) {
    const std::string quoted = Quoted(token);
    if (token.starts_with("0x") && token.size() > 2 &&
        std::all_of(token.begin() + 2, token.end(), IsHexDigit)) {
        return quoted + ": hexadecimal digits must be upper-case";
    }
    // Near misses of the decimal form get a hint on how to write them.
    const auto exponent = token.find_first_of("eE");
    if (exponent != std::string_view::npos) {
        std::string mended(token);
        mended[exponent] = 'e';
        if (exponent + 1 < mended.size() && mended[exponent + 1] == '+') {
            mended.erase(exponent + 1, 1);
        }
        if (IsNumber(mended)) {
            return quoted + ": write the exponent as \"e\" or \"e-\" and digits";
        }
    }
    if (token.ends_with('.') && IsNumber(token.substr(0, token.size() - 1))) {
        return quoted + ": a point must be followed by digits";
    }
    return quoted + " is not a number";
}

class LineScanner {
public:
    explicit LineScanner(std::string_view line) : line_(line) {}

    LineCheck Check() {
        SkipBlanks();
        if (AtEnd()) return Problem("", "the line is empty");
        LineShape shape;
        if (auto problem = ReadName(shape)) return *problem;
        SkipBlanks();
        if (Peek() == '(') {
            if (auto problem = ReadHeaderFields(shape)) return *problem;
            SkipBlanks();
        }
        if (AtEnd()) return shape;
        if (Peek() != '=' && Peek() != '?') {
            const auto token = WordAt(pos_);
            return Problem(token, Quoted(token) + ": expected \"=\", \"?\" or the end of the line");
        }
        shape.kind = Peek() == '=' ? ELineKind::Set : ELineKind::Get;
        ++pos_;
        return ReadNumbers(std::move(shape));
    }

private:
    bool AtEnd() const { return pos_ >= line_.size(); }
    char Peek() const { return AtEnd() ? '\0' : line_[pos_]; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(line_[pos_])) ++pos_;
    }
    // The run of characters from `start` up to a blank, one of `stops`, or
    // the end of the line.
    std::string_view WordAt(std::size_t start, std::string_view stops = {}) const {
        std::size_t end = start;
        while (end < line_.size() && !IsBlank(line_[end]) &&
               stops.find(line_[end]) == std::string_view::npos) {
            ++end;
        }
        return line_.substr(start, std::max<std::size_t>(end - start, 1));
    }
    static LineProblem Problem(std::string_view token, std::string message) {
        return LineProblem{std::string(token), std::move(message)};
    }

    std::optional<LineProblem> ReadName(LineShape& shape) {
        const std::size_t start = pos_;
        while (!AtEnd() && IsNameChar(line_[pos_])) ++pos_;
        if (pos_ == start) {
            const auto token = WordAt(start);
            return Problem(token, Quoted(token) + ": a line starts with a command or parameter name");
        }
        if (!AtEnd() && !IsBlank(Peek()) && Peek() != '(' && Peek() != '=' && Peek() != '?') {
            const auto token = WordAt(start, "(=?");
            return Problem(token, Quoted(token) + ": a name has only letters, digits and \"_\"");
        }
        shape.name = line_.substr(start, pos_ - start);
        return std::nullopt;
    }

    std::optional<LineProblem> ReadHeaderFields(LineShape& shape) {
        const std::size_t open = pos_++;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) {
                const auto token = line_.substr(open);
                return Problem(token, Quoted(token) + ": \"(\" without \")\"");
            }
            if (Peek() == ')') {
                ++pos_;
                return std::nullopt;
            }
            const std::size_t keyStart = pos_;
            while (!AtEnd() && IsLetter(line_[pos_])) ++pos_;
            const std::string_view key = line_.substr(keyStart, pos_ - keyStart);
            if (key.empty() || (!AtEnd() && !IsBlank(Peek()) && Peek() != '=' && Peek() != ')')) {
                const auto token = WordAt(keyStart, ")");
                return Problem(token, Quoted(token) + ": a header field name has only letters");
            }
            const HeaderField* field = FindHeaderField(key);
            if (field == nullptr) {
                return Problem(key, Quoted(key) +
                                        ": unknown header field (known: signature, status, "
                                        "bodylen, flaga or a, flagb or b, id, dummy)");
            }
            SkipBlanks();
            if (Peek() != '=') {
                return Problem(key, Quoted(key) + ": header field without \"=\" and a value");
            }
            ++pos_;
            SkipBlanks();
            const std::size_t valueStart = pos_;
            const auto value = WordAt(valueStart, ")");
            pos_ = valueStart + value.size();
            if (AtEnd() || IsBlank(Peek()) || Peek() == ')') {
                if (const auto number = ReadHeaderValue(value)) {
                    if (*number < field->lowest || *number > field->highest) {
                        return Problem(value, Quoted(value) + ": " + std::string(field->key) +
                                                  " holds " + std::to_string(field->lowest) +
                                                  " to " + std::to_string(field->highest));
                    }
                    if (field->key == "bodylen") shape.bodyLenGiven = true;
                    continue;
                }
            }
            if (value == ")" || (AtEnd() && value.empty())) {
                return Problem(key, Quoted(key) + ": header field without a value after \"=\"");
            }
            return Problem(value, Quoted(value) + " is not a number");
        }
    }

    LineCheck ReadNumbers(LineShape shape) {
        for (;;) {
            SkipBlanks();
            if (AtEnd()) return shape;
            const auto token = WordAt(pos_);
            pos_ += token.size();
            if (!IsNumber(token)) return Problem(token, NumberProblem(token));
            if (++shape.valueCount > kMostValues) {
                return Problem(token, Quoted(token) + ": more than " + std::to_string(kMostValues) +
                                          " values in one line");
            }
        }
    }

    std::string_view line_;
    std::size_t pos_ = 0;
};

}  // namespace

LineCheck CheckLine(std::string_view line) { return LineScanner(line).Check(); }

bool IsBlankOrComment(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

std::string Quoted(std::string_view text, std::size_t maxLength) {
    std::string quoted = "\"";
    std::size_t shown = 0;
    for (const char c : text) {
        if (shown == maxLength) {
            quoted += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
        ++shown;
    }
    quoted += '"';
    return quoted;
}

}  // namespace kvtalk

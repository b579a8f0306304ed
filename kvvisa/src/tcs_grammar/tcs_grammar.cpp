#include "tcs_grammar.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "quoted_text.h"

namespace kv {

namespace {

struct HeaderKey {
    std::string_view key;
    EHeaderField field;
};
constexpr HeaderKey kHeaderKeys[] = {
    {"signature", kFieldSignature}, {"status", kFieldStatus}, {"bodylen", kFieldBodyLen},
    {"flaga", kFieldFlagA},         {"a", kFieldFlagA},       {"flagb", kFieldFlagB},
    {"b", kFieldFlagB},             {"id", kFieldId},         {"dummy", kFieldDummy},
};
constexpr std::string_view kKnownKeys =
    "signature, status, bodylen, flaga or a, flagb or b, id, dummy";

// What each field accepts: the lengths are counts; the other fields may also
// be given as negative numbers, stored in two's complement.
struct Range {
    std::int64_t low;
    std::int64_t high;
};
constexpr std::array<Range, kHeaderFieldCount> kFieldRanges = {{
    {-32768, 0xFFFF},                                        // signature
    {-32768, 0xFFFF},                                        // status
    {0, 0xFFFF},                                             // bodylen
    {0, 0xFF},                                               // flaga
    {-128, 0xFF},                                            // flagb
    {std::numeric_limits<std::int32_t>::min(), 0xFFFFFFFF},  // id
    {-32768, 0xFFFF},                                        // dummy
}};

// Larger than every field, so that a huge value is reported by its range.
constexpr std::int64_t kSaturatedValue = std::int64_t{1} << 40;

constexpr int kDecimal = 10;
constexpr int kHexadecimal = 16;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsUpperHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }
bool IsHexDigit(char c) { return IsUpperHexDigit(c) || (c >= 'a' && c <= 'f'); }

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

std::optional<EHeaderField> FieldOf(std::string_view lowered) {
    for (const auto& entry : kHeaderKeys) {
        if (entry.key == lowered) return entry.field;
    }
    return std::nullopt;
}

// A header value: "0x" or "0X" and hexadecimal digits of either case, or an
// optionally negative decimal number. Values beyond every field saturate.
std::optional<std::int64_t> ParseFieldValue(std::string_view token) {
    bool negative = false;
    if (!token.empty() && token.front() == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    int base = kDecimal;
    if (!negative && token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        base = kHexadecimal;
        token.remove_prefix(2);
    }
    if (token.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, magnitude, base);
    if (stop != end) return std::nullopt;
    if (error == std::errc::result_out_of_range || magnitude > static_cast<std::uint64_t>(kSaturatedValue)) {
        magnitude = static_cast<std::uint64_t>(kSaturatedValue);
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

// Length of the number that starts `text`, 0 when none does: "0x" with
// upper-case hexadecimal digits, or "-"? digits ("." digits*)? (e [+-]? digits)?.
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

enum class ENumber { Fine, Malformed, OutOfRange };

// `token` (a whole blank-separated word) as a number.
ENumber ReadNumber(std::string_view token, double& value) {
    bool hexadecimal = false;
    if (NumberLength(token, hexadecimal) != token.size()) return ENumber::Malformed;
    const char* end = token.data() + token.size();
    std::errc error{};
    if (hexadecimal) {
        std::uint64_t bits = 0;
        error = std::from_chars(token.data() + 2, end, bits, kHexadecimal).ec;
        value = static_cast<double>(bits);
    } else {
        error = std::from_chars(token.data(), end, value).ec;
    }
    if (error == std::errc::result_out_of_range) return ENumber::OutOfRange;
    return error == std::errc() ? ENumber::Fine : ENumber::Malformed;
}

std::string NumberProblem(std::string_view token, ENumber why) {
    const std::string quoted = Quoted(token);
    if (why == ENumber::OutOfRange) return quoted + " is beyond the range of a number";
    if (token.size() > 2 && token.starts_with("0x") &&
        std::all_of(token.begin() + 2, token.end(), IsHexDigit)) {
        return quoted + ": hexadecimal digits must be upper-case";
    }
    return quoted + " is not a number";
}

class CLineParser {
public:
    explicit CLineParser(std::string_view text) : text_(text) {}

    LineParse Parse() {
        SkipBlanks();
        if (AtEnd()) return Problem("", "the line is empty");
        SLine line;
        if (auto problem = ReadName(line)) return *problem;
        SkipBlanks();
        if (Take('(')) {
            if (auto problem = ReadHeaderFields(line)) return *problem;
            SkipBlanks();
        }
        if (AtEnd()) return line;
        if (Take('=')) {
            line.kind = ELineKind::Set;
        } else if (Take('?')) {
            line.kind = ELineKind::Get;
        } else {
            const auto token = WordAt(pos_);
            return Problem(token, Quoted(token) + ": expected \"=\", \"?\" or the end of the line");
        }
        if (auto problem = ReadNumbers(line)) return *problem;
        return line;
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (AtEnd() || text_[pos_] != c) return false;
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
    bool AtWordEnd(std::string_view stops = {}) const {
        return AtEnd() || IsBlank(Peek()) || stops.find(Peek()) != std::string_view::npos;
    }
    // The run of characters from `start` up to a blank, one of `stops` or the
    // end of the line; at least one character when any is left.
    std::string_view WordAt(std::size_t start, std::string_view stops = {}) const {
        std::size_t end = start;
        while (end < text_.size() && !IsBlank(text_[end]) &&
               stops.find(text_[end]) == std::string_view::npos) {
            ++end;
        }
        return text_.substr(start, std::max<std::size_t>(end - start, 1));
    }
    static SLineProblem Problem(std::string_view token, std::string message) {
        return SLineProblem{std::string(token), std::move(message)};
    }

    std::optional<SLineProblem> ReadName(SLine& line) {
        const std::size_t start = pos_;
        const std::string_view name = TakeWhile(IsWordChar);
        if (name.empty()) {
            const auto token = WordAt(start);
            return Problem(token, Quoted(token) + ": a line starts with a command or parameter name");
        }
        if (!AtWordEnd("(=?")) {
            const auto token = WordAt(start, "(=?");
            return Problem(token, Quoted(token) + ": a name has only letters, digits and \"_\"");
        }
        line.name = name;
        return std::nullopt;
    }

    // After "(": keys, each with "=" and a value or alone, up to ")".
    std::optional<SLineProblem> ReadHeaderFields(SLine& line) {
        const std::size_t open = pos_ - 1;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) {
                const auto token = text_.substr(open);
                return Problem(token, Quoted(token) + ": \"(\" without \")\"");
            }
            if (Take(')')) return std::nullopt;
            const std::size_t keyStart = pos_;
            const std::string_view key = TakeWhile(IsLetter);
            if (key.empty() || !AtWordEnd("=)")) {
                const auto token = WordAt(keyStart, ")");
                return Problem(token, Quoted(token) + ": a header field name has only letters");
            }
            SkipBlanks();
            if (!Take('=')) {
                line.ignoredKeys.emplace_back(key);
                continue;
            }
            SkipBlanks();
            const std::size_t valueStart = pos_;
            Take('-');
            TakeWhile(IsWordChar);
            // A value that runs into other characters is reported whole.
            if (!AtWordEnd(")")) pos_ = valueStart + WordAt(valueStart, ")").size();
            const std::string_view value = text_.substr(valueStart, pos_ - valueStart);
            if (value.empty()) {
                return Problem(key, Quoted(key) + ": header field without a value after \"=\"");
            }
            const auto number = ParseFieldValue(value);
            if (!number) return Problem(value, Quoted(value) + " is not a number");
            const std::string lowered = Lowered(key);
            const auto field = FieldOf(lowered);
            if (!field) {
                line.ignoredKeys.emplace_back(key);
                continue;
            }
            const Range range = kFieldRanges[*field];
            if (*number < range.low || *number > range.high) {
                return Problem(value, Quoted(value) + ": " + lowered + " holds " +
                                          std::to_string(range.low) + " to " +
                                          std::to_string(range.high));
            }
            line.fields[*field] = static_cast<std::uint32_t>(*number);
        }
    }

    std::optional<SLineProblem> ReadNumbers(SLine& line) {
        for (;;) {
            SkipBlanks();
            if (AtEnd()) return std::nullopt;
            const auto token = WordAt(pos_);
            pos_ += token.size();
            double value = 0;
            const ENumber read = ReadNumber(token, value);
            if (read != ENumber::Fine) return Problem(token, NumberProblem(token, read));
            if (line.values.size() == kMaxLineValues) {
                return Problem(token, Quoted(token) + ": more than " + std::to_string(kMaxLineValues) +
                                          " values in one line");
            }
            line.values.push_back(value);
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string_view KnownHeaderKeys() { return kKnownKeys; }

LineParse ParseLine(std::string_view line) { return CLineParser(line).Parse(); }

}  // namespace kv

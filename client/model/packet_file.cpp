#include "model/packet_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <system_error>

namespace z5r {

namespace {

// A line is read for this many numbers; the fields of a pulse are the first.
constexpr std::size_t kNumbersPerLine = 15;
enum EPulseField : std::size_t { pfTau = 0, pfPeriod = 1, pfQ = 2, pfUsed = 3 };
constexpr int kSignificantDigits = 13;
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// A number that does not fit a double: infinite when its decimal exponent
// makes it large, 0 when it makes it small.
double OutOfRange(std::string_view number) {
    const bool negative = number.starts_with('-');
    const std::size_t exponent = number.find_first_of("eE");
    bool small;
    if (exponent != std::string_view::npos) {
        small = number.substr(exponent + 1).starts_with('-');
    } else {
        // Without an exponent only a long run of zeros after the point makes
        // a number too small.
        const std::string_view integer = number.substr(0, number.find('.'));
        small = integer.find_first_of("123456789") == std::string_view::npos;
    }
    const double magnitude = small ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -magnitude : magnitude;
}

// Reads the numbers at the start of `line` into `numbers` (commas already
// turned into periods); stops at the first text that is no number.
void ReadNumbers(std::string_view line, std::array<double, kNumbersPerLine>& numbers) {
    const char* cursor = line.data();
    const char* const end = line.data() + line.size();
    for (double& number : numbers) {
        while (cursor != end && IsBlank(*cursor)) ++cursor;
        if (cursor == end) return;
        if (*cursor == '+') ++cursor;  // from_chars takes no plus sign
        double value = 0.0;
        const auto [next, error] = std::from_chars(cursor, end, value, std::chars_format::general);
        if (error == std::errc::result_out_of_range) {
            value = OutOfRange(std::string_view(cursor, static_cast<std::size_t>(next - cursor)));
        } else if (error != std::errc{}) {
            return;
        }
        number = value;
        cursor = next;
    }
}

SPulse ParseLine(std::string_view line) {
    std::array<double, kNumbersPerLine> numbers{};
    ReadNumbers(line, numbers);
    return SPulse{numbers[pfTau], numbers[pfPeriod], numbers[pfQ], numbers[pfUsed] != 0.0};
}

void AppendNumber(std::string& text, double value) {
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general,
                      kSignificantDigits);
    text.append(buffer.data(), result.ptr);
}

struct SFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, SFileCloser>;

}  // namespace

std::vector<SPulse> ParsePacketText(std::string_view original) {
    // A comma is a decimal point too.
    std::string periods(original);
    std::replace(periods.begin(), periods.end(), ',', '.');
    std::string_view text = periods;
    std::vector<SPulse> pulses;
    while (!text.empty()) {
        const std::size_t lineEnd = text.find('\n');
        std::string_view line = text.substr(0, lineEnd);
        text = lineEnd == std::string_view::npos ? std::string_view{} : text.substr(lineEnd + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        pulses.push_back(ParseLine(line));
    }
    return pulses;
}

std::string PacketFileText(const std::vector<SPulse>& packet) {
    std::string text;
    for (const SPulse& pulse : packet) {
        AppendNumber(text, pulse.tau);
        text += '\t';
        AppendNumber(text, pulse.period);
        text += '\t';
        AppendNumber(text, pulse.q);
        text += '\t';
        text += pulse.used ? '1' : '0';
        text += kLineEnd;
    }
    return text;
}

EPacketFileStatus ReadPacketFile(const std::string& path, std::vector<SPulse>& pulses) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return pfsCannotOpen;
    std::string text;
    std::array<char, 65536> chunk{};
    std::size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) text.append(chunk.data(), got);
    // A folder opens but does not read.
    if (std::ferror(file.get())) return pfsCannotOpen;
    const std::vector<SPulse> read = ParsePacketText(text);
    pulses.insert(pulses.end(), read.begin(), read.end());
    return pfsOk;
}

EPacketFileStatus WritePacketFile(const std::string& path, const std::vector<SPulse>& packet) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return pfsCannotWrite;
    const std::string text = PacketFileText(packet);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    // A full disk often shows only when the buffer is flushed at the close.
    const bool closed = std::fclose(file) == 0;
    return written && closed ? pfsOk : pfsCannotWrite;
}

}  // namespace z5r

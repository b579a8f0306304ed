#include "exchange_log.h"

#include <cstdio>
#include <span>
#include <string>

#include "kvproto/dictionary.h"

namespace z5rsim {
namespace {

// Long chunks would flood the log: the first few values and the count.
constexpr std::size_t kShownValues = 8;

std::string NameOf(const kvproto::CDictionary& dictionary, std::int32_t value) {
    const kvproto::DictionaryEntry* entry = dictionary.FindByValue(value);
    return entry != nullptr ? entry->name : std::to_string(value);
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

template <typename T>
std::string Values(std::span<const T> values, double scale) {
    std::string out;
    for (std::size_t i = 0; i < values.size() && i < kShownValues; ++i) {
        out += ' ';
        out += Number(static_cast<double>(values[i]) / scale);
    }
    if (values.size() > kShownValues) out += " ... (" + std::to_string(values.size()) + " values)";
    return out;
}

std::string Text(const std::vector<std::int64_t>& bytes) {
    std::string out = " \"";
    for (const std::int64_t byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    return out + '"';
}

}  // namespace

std::string DescribeExchange(const SExchangeRecord& record) {
    std::string line = NameOf(kvproto::CommandDictionary(), record.command);
    if (line.starts_with("KV_")) line.erase(0, 3);  // "SET", "GET", "RUN" read better
    if (record.hasParam) line += ' ' + NameOf(kvproto::ParameterDictionary(), record.param);
    if (!record.subject.empty()) line += ' ' + record.subject;
    line += Values(record.request, record.scale);
    line += " ->";
    line += record.text ? Text(record.answer) : Values(std::span<const std::int64_t>(record.answer), record.scale);
    line += " (" + NameOf(kvproto::StatusDictionary(), record.status) + ")";
    return line;
}

}  // namespace z5rsim

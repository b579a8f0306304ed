#include "kvproto/dictionary.h"

#include <charconv>
#include <utility>

namespace kvproto {
namespace {

constexpr std::string_view kValueSeparator = " = ";

// "0x" with upper-case hexadecimal digits (up to 32 bits, taken as the bit
// pattern), or a decimal number with an optional "-" (within 32 bits).
std::optional<std::int32_t> ParseExplicitValue(std::string_view text) {
    if (text.size() > 2 && text.substr(0, 2) == "0x") {
        const std::string_view digits = text.substr(2);
        for (const char c : digits) {
            if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return std::nullopt;
        }
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    const std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
    if (digits.empty()) return std::nullopt;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The value after the previous one, wrapping instead of overflowing.
std::int32_t Next(std::int32_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1u);
}

}  // namespace

CDictionary::CDictionary(const std::vector<Source>& sources) {
    entries_.reserve(sources.size());
    for (const Source& source : sources) {
        DictionaryEntry entry;
        const std::string_view nameText = source.nameText != nullptr ? source.nameText : "";
        // A text whose tail after " = " is not a number has no explicit value
        // and is a name as a whole.
        std::optional<std::int32_t> explicitValue;
        const std::size_t separator = nameText.rfind(kValueSeparator);
        if (separator != std::string_view::npos) {
            explicitValue = ParseExplicitValue(nameText.substr(separator + kValueSeparator.size()));
        }
        if (explicitValue) {
            entry.name = std::string(nameText.substr(0, separator));
            entry.value = *explicitValue;
        } else {
            entry.name = std::string(nameText);
            entry.value = entries_.empty() ? 0 : Next(entries_.back().value);
        }
        entry.text = source.text != nullptr ? source.text : "";
        entry.format = source.format;
        entries_.push_back(std::move(entry));
    }
}

const DictionaryEntry* CDictionary::FindByValue(std::int32_t value) const {
    for (const DictionaryEntry& entry : entries_) {
        if (entry.value == value) return &entry;
    }
    return nullptr;
}

const DictionaryEntry* CDictionary::FindByName(std::string_view name) const {
    for (const DictionaryEntry& entry : entries_) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::string StatusText(std::int16_t status) {
    const DictionaryEntry* entry = StatusDictionary().FindByValue(status);
    if (entry == nullptr) return "Неизвестная ошибка";
    return entry->text;
}

}  // namespace kvproto

#include "protocol_description.h"

#include <charconv>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <utility>

#include "description_format.h"

namespace protocollib {

namespace {

// Plain decimal, optionally negative: no blanks, no sign "+", no hexadecimal,
// nothing after the digits, within [min, max].
std::optional<long long> ParseNumber(const pugi::xml_attribute& attribute, long long min,
                                     long long max) {
    if (!attribute) return std::nullopt;
    const std::string_view text = attribute.value();
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < min || value > max) return std::nullopt;
    return value;
}

// Names are what the text layer can write: letters, digits and "_".
std::optional<std::string> ParseName(const pugi::xml_attribute& attribute) {
    if (!attribute) return std::nullopt;
    const std::string_view text = attribute.value();
    if (text.empty()) return std::nullopt;
    for (const char c : text) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !digit && c != '_') return std::nullopt;
    }
    return std::string(text);
}

// An optional attribute: absent means `fallback`, present must be valid.
std::optional<long long> ParseOptionalNumber(const pugi::xml_attribute& attribute,
                                             long long fallback, long long min, long long max) {
    if (!attribute) return fallback;
    return ParseNumber(attribute, min, max);
}

}  // namespace

// Fills a description's tables from a parsed document.
class CDescriptionReader {
public:
    explicit CDescriptionReader(CProtocolDescription& target) : target_(target) {}

    void Read(const pugi::xml_node& root) {
        for (const auto& section : root.children(format::kCommands)) {
            for (const auto& entry : section.children(format::kCommand)) {
                AddNamed(target_.commands_, entry, format::kValueAttr, format::kMinCode,
                         format::kMaxCode);
            }
        }
        for (const auto& section : root.children(format::kStatuses)) {
            for (const auto& entry : section.children(format::kStatus)) {
                AddNamed(target_.statuses_, entry, format::kValueAttr, format::kMinStatus,
                         format::kMaxStatus);
            }
        }
        for (const auto& section : root.children(format::kParameters)) {
            for (const auto& entry : section.children(format::kParameter)) {
                AddParameter(entry);
            }
        }
    }

private:
    static std::optional<std::int32_t> AddNamed(CNameTable& table, const pugi::xml_node& entry,
                                                const char* valueAttr, long long min,
                                                long long max) {
        auto name = ParseName(entry.attribute(format::kNameAttr));
        const auto value = ParseNumber(entry.attribute(valueAttr), min, max);
        if (!name || !value) return std::nullopt;
        const auto narrowed = static_cast<std::int32_t>(*value);
        if (!table.Add(std::move(*name), narrowed)) return std::nullopt;
        return narrowed;
    }

    void AddParameter(const pugi::xml_node& entry) {
        // The format is checked first so a bad one drops the whole entry.
        const auto size =
            ParseOptionalNumber(entry.attribute(format::kSizeAttr), 0, 0, format::kMaxFormatNibble);
        if (!size) return;
        const auto fract = ParseOptionalNumber(entry.attribute(format::kFractAttr), 0, 0, *size);
        if (!fract) return;
        const auto id = AddNamed(target_.parameters_, entry, format::kIdAttr, format::kMinCode,
                                 format::kMaxCode);
        if (!id) return;
        target_.formats_.emplace(
            *id, ParameterFormat{static_cast<int>(*size), static_cast<int>(*fract)});
    }

    CProtocolDescription& target_;
};

std::unique_ptr<CProtocolDescription> CProtocolDescription::Parse(const void* data,
                                                                  std::size_t size) {
    if (data == nullptr || size == 0) return nullptr;
    pugi::xml_document document;
    const auto result = document.load_buffer(data, size, pugi::parse_default, pugi::encoding_utf8);
    if (!result) return nullptr;

    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != format::kRoot) return nullptr;
    const auto version =
        ParseNumber(root.attribute(format::kVersionAttr), format::kVersion, format::kVersion);
    if (!version) return nullptr;

    auto description = std::make_unique<CProtocolDescription>();
    CDescriptionReader(*description).Read(root);
    return description;
}

ParameterFormat CProtocolDescription::FormatOf(std::int32_t parameterId) const {
    const auto it = formats_.find(parameterId);
    return it == formats_.end() ? ParameterFormat{} : it->second;
}

}  // namespace protocollib

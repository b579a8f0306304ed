// The protocol's name tables: commands, statuses (with the Russian texts
// shown to people) and parameters (with their value formats where known).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvproto {

struct DictionaryEntry {
    std::string name;         // the part before " = "
    std::int32_t value = 0;   // explicit, or the previous entry's value plus one
    std::string text;         // status: Russian text; parameter: Russian description
    std::uint8_t format = 0;  // parameters only: FlagB of its values, 0 when not known
};

// An ordered table built from name texts such as "KV_CRITICAL_ERROR = -32768"
// (decimal, negative, or "0x" with upper-case hexadecimal digits); an entry
// without a value takes the previous one's plus one, the first 0.
class CDictionary {
public:
    struct Source {
        const char* nameText;
        const char* text;
        std::uint8_t format;
    };
    explicit CDictionary(const std::vector<Source>& sources);

    // The first entry with this value (earlier entries win on shared values).
    const DictionaryEntry* FindByValue(std::int32_t value) const;
    // The first entry with this name (exact, case-sensitive).
    const DictionaryEntry* FindByName(std::string_view name) const;
    const std::vector<DictionaryEntry>& Entries() const { return entries_; }

private:
    std::vector<DictionaryEntry> entries_;
};

const CDictionary& CommandDictionary();    // 7 entries, KV_TEST .. KV_RUN
const CDictionary& StatusDictionary();     // 114 entries
const CDictionary& ParameterDictionary();  // 102 entries

// Text for an error status: the entry's text when the entry exists and has
// one; "Неизвестная ошибка" when no entry exists; "" for an entry without text.
std::string StatusText(std::int16_t status);

}  // namespace kvproto

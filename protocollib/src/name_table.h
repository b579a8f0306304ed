// One table of the description: names with their values, looked up both
// ways. Names are unique; several names may share a value, and a lookup by
// value answers the one added first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace protocollib {

class CNameTable {
public:
    // False (and nothing added) when the name is already taken.
    bool Add(std::string name, std::int32_t value);

    std::optional<std::int32_t> ValueOf(std::string_view name) const;

    // The first-added name with this value, or null. The text lives as long
    // as the table.
    const std::string* NameOf(std::int32_t value) const;

    std::size_t Size() const { return byName_.size(); }

private:
    std::map<std::string, std::int32_t, std::less<>> byName_;
    // Points at keys of byName_, whose nodes never move.
    std::map<std::int32_t, const std::string*> firstByValue_;
};

}  // namespace protocollib

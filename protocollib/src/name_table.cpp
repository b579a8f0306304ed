#include "name_table.h"

#include <utility>

namespace protocollib {

bool CNameTable::Add(std::string name, std::int32_t value) {
    const auto [it, added] = byName_.emplace(std::move(name), value);
    if (added) {
        firstByValue_.emplace(value, &it->first);  // keeps an earlier name
    }
    return added;
}

std::optional<std::int32_t> CNameTable::ValueOf(std::string_view name) const {
    const auto it = byName_.find(name);
    if (it == byName_.end()) return std::nullopt;
    return it->second;
}

const std::string* CNameTable::NameOf(std::int32_t value) const {
    const auto it = firstByValue_.find(value);
    return it == firstByValue_.end() ? nullptr : it->second;
}

}  // namespace protocollib

#include "resource_layer.h"

#include <cctype>

namespace kvtools {

namespace {
bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}
}  // namespace

bool EndsWithLayer(std::string_view resource, std::string_view layer) {
    const std::size_t suffix = layer.size() + 2;
    if (resource.size() <= suffix) return false;
    const std::string_view tail = resource.substr(resource.size() - suffix);
    return tail.starts_with("::") && SameLetters(tail.substr(2), layer);
}

std::string WithoutLayer(std::string_view resource, std::string_view layer) {
    if (!EndsWithLayer(resource, layer)) return std::string(resource);
    return std::string(resource.substr(0, resource.size() - layer.size() - 2));
}

}  // namespace kvtools

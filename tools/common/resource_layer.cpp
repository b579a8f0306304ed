#include "resource_layer.h"

#include <strings.h>

namespace kvtools {

namespace {
bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
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

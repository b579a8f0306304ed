// Adding and removing the layer suffixes ("::TCS", "::HOOK") the tools put
// on the resource string a user gives them.
#pragma once

#include <string>
#include <string_view>

namespace kvtools {

// True when the last "::"-token of `resource` is `layer` (any case).
bool EndsWithLayer(std::string_view resource, std::string_view layer);

// `resource` without a last token `layer`; unchanged when it has none.
std::string WithoutLayer(std::string_view resource, std::string_view layer);

}  // namespace kvtools

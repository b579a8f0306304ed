#include "script_line.h"

namespace kvtalk {

bool IsBlankOrComment(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

}  // namespace kvtalk

// Lines of a kvtalk script that are not sent.
#pragma once

#include <string_view>

namespace kvtalk {

// Empty, blanks only, or a comment starting with "#".
bool IsBlankOrComment(std::string_view line);

}  // namespace kvtalk

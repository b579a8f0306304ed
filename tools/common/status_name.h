// Names and texts of library status codes for messages: the library only
// answers numbers and a short text, a person wants the code's name as well.
#pragma once

#include <string>

#include "kvvisa/visatype.h"

namespace kvtools {

// "VI_ERROR_CONN_LOST", or "status 0x...": never empty.
std::string StatusName(ViStatus status);

// "VI_ERROR_CONN_LOST (Connection lost)"; the name alone when the library
// has no text for the code.
std::string DescribeStatus(ViStatus status);

}  // namespace kvtools

// Texts of the status codes the library reports.
#pragma once

#include "kvvisa/visatype.h"

namespace kv {

// The text for `status`, or an empty text for a code without one.
const char* StatusText(ViStatus status);

}  // namespace kv

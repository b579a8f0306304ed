// The system's description of a driver result code, for the diagnostic box
// shown when the driver cannot be created or opened.
#pragma once

#include <string>

#include "korvel/com_base.h"

namespace z5r {

// Translated description followed by the code in hexadecimal.
std::string DriverErrorText(korvel::HRESULT result);

}  // namespace z5r

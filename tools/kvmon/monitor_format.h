// How kvmon shows one transfer: "12:34:56.789 >> text".
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "kvvisa/visatype.h"

namespace kvmon {

// Local time of day with milliseconds, "HH:MM:SS.mmm".
std::string ClockText(const timespec& when);

// ">>" for data written to the instrument (direction 1), "<<" for data read
// from it (0), "??" when the monitor could not tell.
std::string_view DirectionMark(ViUInt32 direction);

// Bytes as upper-case hexadecimal pairs separated by blanks.
std::string HexText(const ViByte* bytes, std::size_t count);

// One output line: time, direction, what was transferred, and the
// transfer's status in brackets when it failed.
std::string TransferLine(const timespec& when, ViUInt32 direction, std::string_view shown,
                         ViStatus status);

}  // namespace kvmon

#include "monitor_format.h"

#include <cstdio>

#include "kvvisa/visa.h"
#include "status_name.h"

namespace kvmon {

std::string ClockText(const timespec& when) {
    tm local{};
    const time_t seconds = when.tv_sec;
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<long>(when.tv_nsec / 1000000));
    return text;
}

std::string_view DirectionMark(ViUInt32 direction) {
    switch (direction) {
        case 0: return "<<";
        case 1: return ">>";
        default: return "??";
    }
}

std::string HexText(const ViByte* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string TransferLine(const timespec& when, ViUInt32 direction, std::string_view shown,
                         ViStatus status) {
    std::string line = ClockText(when);
    line += ' ';
    line += DirectionMark(direction);
    line += ' ';
    line += shown;
    if (status < VI_SUCCESS) {
        line += "  [";
        line += kvtools::StatusName(status);
        line += ']';
    }
    return line;
}

}  // namespace kvmon

// What the packet editor shows: the texts of a row of its list and of its two
// status panels.
#pragma once

#include <cstddef>
#include <string>

#include "core/pulse.h"
#include "z5r/i18n.h"

namespace z5r {

// The columns "№", "Длительность импульса", "Период повторения",
// "Скважность": the row number from 1, the times in microseconds with up to
// nine decimals and the unit, the duty factor with up to nine decimals.
struct SPacketRowTexts {
    std::string number;
    std::string tau;
    std::string period;
    std::string q;

    friend bool operator==(const SPacketRowTexts&, const SPacketRowTexts&) = default;
};
SPacketRowTexts PacketRowTexts(std::size_t index, const SPulse& pulse);

// Status panel 0: "Общая длительность пачки: " and the duration in
// microseconds with up to twelve decimals.
std::string PacketDurationText(double totalDuration);

// Status panel 1: the warning while the packet period is too short, else "".
std::string PacketPeriodWarning(bool tooShort);

// The warning's text (also the error shown on accepting such a packet).
inline constexpr const char* kPacketPeriodTooShortText =
    Z5R_TEXT("Период повторения пачки меньше общей длительности пачки");

}  // namespace z5r

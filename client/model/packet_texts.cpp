#include "model/packet_texts.h"

#include "model/number_text.h"

namespace z5r {

namespace {

constexpr double kMicrosecondsPerSecond = 1e6;
constexpr int kRowDecimals = 9;
constexpr int kDurationDecimals = 12;

std::string Microseconds(double seconds, int decimals) {
    return FormatDecimal(seconds * kMicrosecondsPerSecond, decimals) + Tr(" мкс");
}

}  // namespace

SPacketRowTexts PacketRowTexts(std::size_t index, const SPulse& pulse) {
    return SPacketRowTexts{std::to_string(index + 1), Microseconds(pulse.tau, kRowDecimals),
                           Microseconds(pulse.period, kRowDecimals), FormatDecimal(pulse.q, kRowDecimals)};
}

std::string PacketDurationText(double totalDuration) {
    return Tr("Общая длительность пачки: ") + Microseconds(totalDuration, kDurationDecimals);
}

std::string PacketPeriodWarning(bool tooShort) {
    return tooShort ? Tr(kPacketPeriodTooShortText) : std::string();
}

}  // namespace z5r

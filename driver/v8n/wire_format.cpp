#include "wire_format.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "kvproto/packet.h"

namespace korvel::v8n {

namespace {

// The integer range of `bytes` two's-complement bytes, in units of the
// fraction the format carries, for every format byte: worked out once, as
// a list converts thousands of values with the same format.
struct SWireRange {
    double lowest = 0;
    double highest = 0;
};

const std::array<SWireRange, 256>& WireRanges() {
    static const std::array<SWireRange, 256> ranges = [] {
        std::array<SWireRange, 256> table{};
        for (unsigned flag = 0; flag < table.size(); ++flag) {
            const auto flagB = static_cast<std::uint8_t>(flag);
            const unsigned bytes = std::min(kvproto::BytesPerValue(flagB), 8u);
            if (bytes == 0) continue;
            const double fractionUnit = std::ldexp(1.0, 8 * static_cast<int>(kvproto::FractionBytes(flagB)));
            table[flag].highest = (std::ldexp(1.0, 8 * static_cast<int>(bytes) - 1) - 1) / fractionUnit;
            table[flag].lowest = -std::ldexp(1.0, 8 * static_cast<int>(bytes) - 1) / fractionUnit;
        }
        return table;
    }();
    return ranges;
}

}  // namespace

void SettingsToWire(std::span<const double> settings, double scale, std::uint8_t flagB,
                    std::span<double> wire) {
    // A format without bytes carries nothing; its range is 0..0.
    const SWireRange& range = WireRanges()[flagB];
    for (std::size_t i = 0; i < settings.size(); ++i) {
        wire[i] = std::clamp(settings[i] * scale, range.lowest, range.highest);
    }
}

double WireToSetting(double wire, double scale) { return wire / scale; }

}  // namespace korvel::v8n

#include "wire_format.h"

#include <algorithm>
#include <cmath>

#include "kvproto/packet.h"

namespace korvel::v8n {

double SettingToWire(double setting, double scale, std::uint8_t flagB) {
    const unsigned bytes = std::min(kvproto::BytesPerValue(flagB), 8u);
    if (bytes == 0) return 0;
    // The integer range of `bytes` two's-complement bytes, in units of the
    // fraction the format carries.
    const double fractionUnit = std::ldexp(1.0, 8 * static_cast<int>(kvproto::FractionBytes(flagB)));
    const double highest = (std::ldexp(1.0, 8 * static_cast<int>(bytes) - 1) - 1) / fractionUnit;
    const double lowest = -std::ldexp(1.0, 8 * static_cast<int>(bytes) - 1) / fractionUnit;
    return std::clamp(setting * scale, lowest, highest);
}

double WireToSetting(double wire, double scale) { return wire / scale; }

}  // namespace korvel::v8n

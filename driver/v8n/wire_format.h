// Settings to wire values and back: scaled by the field's factor and held
// within what the parameter's value format can carry, so a huge request
// clamps instead of wrapping round.
#pragma once

#include <cstdint>
#include <span>

namespace korvel::v8n {

// Each setting times `scale`, saturated to the range of `flagB` (before the
// codec's own rounding); `wire` has room for as many. NaN is not a setting:
// callers refuse it first.
void SettingsToWire(std::span<const double> settings, double scale, std::uint8_t flagB,
                    std::span<double> wire);
double WireToSetting(double wire, double scale);

}  // namespace korvel::v8n

// Settings to wire values and back: scaled by the field's factor and held
// within what the parameter's value format can carry, so a huge request
// clamps instead of wrapping round.
#pragma once

#include <cstdint>
#include <span>

namespace korvel::v8n {

// The setting times `scale`, saturated to the range of `flagB` (before the
// codec's own rounding). NaN is not a setting: callers refuse it first.
double SettingToWire(double setting, double scale, std::uint8_t flagB);
// The same for a run of settings; `wire` has room for as many.
void SettingsToWire(std::span<const double> settings, double scale, std::uint8_t flagB,
                    std::span<double> wire);
double WireToSetting(double wire, double scale);

}  // namespace korvel::v8n

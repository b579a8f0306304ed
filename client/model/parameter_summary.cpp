#include "model/parameter_summary.h"

#include <cmath>
#include <optional>
#include <span>

#include "core/profile_enums.h"
#include "korvel/components/units.h"
#include "model/number_text.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr std::array<const char*, kSummaryLineCount> kCaptions = {
    Z5R_TEXT("Количество точек"),     Z5R_TEXT("Шаг по частоте"),
    Z5R_TEXT("Шаг по мощности"),      Z5R_TEXT("Момент запуска"),
    Z5R_TEXT("Время удержания"),      Z5R_TEXT("Упр. аттенюатором"),
    Z5R_TEXT("Ограничение мощности"), Z5R_TEXT("Синхровыход"),
    Z5R_TEXT("Инверт. синхровход"),   Z5R_TEXT("Инверт. синровыход"),
    Z5R_TEXT("Длит. синхросигнала"),  Z5R_TEXT("Внешнее упр. мощностью"),
    Z5R_TEXT("Внешний ОГ"),           Z5R_TEXT("Частота внешнего ОГ"),
};

constexpr const char* kNothing = "---";

// The significant digits a numeric edit shows.
constexpr int kEditPrecision = 12;

// A step of exactly 0 although the range is not empty (the frequency step is
// truncated to whole hertz) is shown as the smallest step of the pattern
// "0.###", with the span's sign; a small step that is not 0 shows as it is.
double VisibleStep(double step, double span) {
    if (span != 0 && step == 0) return span > 0 ? 0.001 : -0.001;
    return step;
}

double Intervals(double points) {
    const double intervals = points - 1.0;
    return intervals == 0 ? 1.0 : intervals;
}

// "Отключен" is also the connection state of the status bar, which English
// reads as "Disconnected"; the summary's "off" has a context of its own.
std::string OnOff(bool on) { return on ? Tr("Включен") : TrContext("summary", "Отключен"); }

// As the edit shows it: the number, a blank, the unit.
std::string EditValueText(const SShownNumber& shown, korvel::EUnits units) {
    const korvel::FormattedValue text = korvel::FormatValue(shown.value, units, kEditPrecision, shown.power);
    return text.number + " " + text.unit;
}

std::string ItemOrNothing(std::span<const char* const> items, int index) {
    std::string caption = ItemCaption(items, index);
    return caption.empty() ? std::string(kNothing) : caption;
}

}  // namespace

std::string SummaryCaption(int line) {
    if (line < 0 || line >= kSummaryLineCount) return {};
    return Tr(kCaptions[static_cast<std::size_t>(line)]);
}

std::optional<double> FrequencyStep(const SProfile& profile) {
    const int mode = profile.controlparams.mode;
    if ((mode != omFrequencySweep && mode != omFrequencyPowerSweep) ||
        profile.freqparams.mode != stLinear) {
        return std::nullopt;
    }
    const SFreqParams& f = profile.freqparams;
    const double span = f.stop - f.start;
    return VisibleStep(std::trunc(span / Intervals(f.points)), span);
}

std::optional<double> PowerStep(const SProfile& profile) {
    const int mode = profile.controlparams.mode;
    if (mode != omPowerSweep && mode != omFrequencyPowerSweep) return std::nullopt;
    const double points =
        mode == omFrequencyPowerSweep ? profile.freqparams.points : profile.powparams.points;
    const double span = profile.powparams.stop - profile.powparams.start;
    return VisibleStep(span / Intervals(points), span);
}

std::string SummaryValue(ESummaryLine line, const SProfile& profile, const SSummaryState& state) {
    if (!state.connected || state.settingsLocked) return kNothing;
    const SSyncParams& sync = profile.syncparams;
    switch (line) {
        case slPoints:
            switch (profile.controlparams.mode) {
                case omFrequencySweep:
                case omFrequencyPowerSweep:
                case omListSweep:
                    return FormatDecimal(profile.freqparams.points, 3);
                case omPowerSweep:
                    return FormatDecimal(profile.powparams.points, 3);
                default:
                    return kNothing;
            }
        case slFrequencyStep: {
            const auto step = FrequencyStep(profile);
            return step ? GroupThousands(FormatDecimal(*step, 3)) + Tr(" Гц") : kNothing;
        }
        case slPowerStep: {
            const auto step = PowerStep(profile);
            return step ? FormatDecimal(*step, 3) + Tr(" дБ") : kNothing;
        }
        case slRunMoment:
            return state.runModeEnabled
                       ? ItemOrNothing(kRunModeItems, profile.controlparams.runmode)
                       : kNothing;
        case slDwell:
            return state.dwellEnabled ? EditValueText(state.dwell, korvel::EUnits::Time) : kNothing;
        case slAttStrategy:
            return state.attStrategyEnabled
                       ? ItemOrNothing(kAttStrategyItems, profile.powparams.strategy)
                       : kNothing;
        case slPowerLimit:
            return profile.powparams.allowlimit ? EditValueText(state.powLimit, korvel::EUnits::Level) : Tr("Не задано");
        case slSyncOut:
            return ItemOrNothing(kSyncOutModeItems, sync.syncmode);
        case slSyncInInverse:
            return OnOff(sync.syncin);
        case slSyncOutInverse:
            return OnOff(sync.syncout);
        case slSyncTime:
            return EditValueText(state.syncTime, korvel::EUnits::Time);
        case slExtPowerControl:
            return OnOff(sync.epc);
        case slExtRef:
            return OnOff(sync.erg);
        case slExtRefFrequency:
            return state.rgFreqEnabled ? kNothing : ItemOrNothing(kRefFrequencyItems, sync.rgfreq);
        default:
            return kNothing;
    }
}

std::array<std::string, kSummaryLineCount> SummaryValues(const SProfile& profile,
                                                         const SSummaryState& state) {
    std::array<std::string, kSummaryLineCount> values;
    for (int line = 0; line < kSummaryLineCount; ++line) {
        values[static_cast<std::size_t>(line)] = SummaryValue(static_cast<ESummaryLine>(line), profile, state);
    }
    return values;
}

}  // namespace z5r

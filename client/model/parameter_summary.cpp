#include "model/parameter_summary.h"

#include <cmath>
#include <optional>
#include <span>

#include "core/profile_enums.h"
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

// A step the pattern "0.###" would show as 0 although the range is not
// empty is shown as the smallest step of that pattern, with the span's sign.
double VisibleStep(double step, double span) {
    if (span != 0 && FormatDecimal(step, 3) == "0") return span > 0 ? 0.001 : -0.001;
    return step;
}

double Intervals(double points) {
    const double intervals = points - 1.0;
    return intervals == 0 ? 1.0 : intervals;
}

std::string OnOff(bool on) { return on ? Tr("Включен") : Tr("Отключен"); }

std::string EditValueText(const SEditText& edit) { return edit.text + " " + edit.unit; }

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

std::string SummaryValue(int line, const SProfile& profile, const SSummaryState& state) {
    if (!state.connected || state.settingsLocked) return kNothing;
    const SSyncParams& sync = profile.syncparams;
    switch (line) {
        case 0:
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
        case 1: {
            const auto step = FrequencyStep(profile);
            return step ? GroupThousands(FormatDecimal(*step, 3)) + Tr(" Гц") : kNothing;
        }
        case 2: {
            const auto step = PowerStep(profile);
            return step ? FormatDecimal(*step, 3) + Tr(" дБ") : kNothing;
        }
        case 3:
            return state.runModeEnabled
                       ? ItemOrNothing(kRunModeItems, profile.controlparams.runmode)
                       : kNothing;
        case 4:
            return state.dwellEnabled ? EditValueText(state.dwell) : kNothing;
        case 5:
            return state.attStrategyEnabled
                       ? ItemOrNothing(kAttStrategyItems, profile.powparams.strategy)
                       : kNothing;
        case 6:
            return profile.powparams.allowlimit ? EditValueText(state.powLimit) : Tr("Не задано");
        case 7:
            return ItemOrNothing(kSyncOutModeItems, sync.syncmode);
        case 8:
            return OnOff(sync.syncin);
        case 9:
            return OnOff(sync.syncout);
        case 10:
            return EditValueText(state.syncTime);
        case 11:
            return OnOff(sync.epc);
        case 12:
            return OnOff(sync.erg);
        case 13:
            return state.rgFreqEnabled ? kNothing : ItemOrNothing(kRefFrequencyItems, sync.rgfreq);
        default:
            return kNothing;
    }
}

std::array<std::string, kSummaryLineCount> SummaryValues(const SProfile& profile,
                                                         const SSummaryState& state) {
    std::array<std::string, kSummaryLineCount> values;
    for (int line = 0; line < kSummaryLineCount; ++line) {
        values[static_cast<std::size_t>(line)] = SummaryValue(line, profile, state);
    }
    return values;
}

}  // namespace z5r

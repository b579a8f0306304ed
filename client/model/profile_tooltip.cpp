#include "model/profile_tooltip.h"

#include <charconv>

#include "core/profile_enums.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr double kMicro = 1000000.0;
constexpr double kMega = 0.000001;

std::string Range(double start, double stop, const char* unit) {
    return GeneralNumberText(start) + " … " + GeneralNumberText(stop) + Tr(unit);
}

}  // namespace

std::string GeneralNumberText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string ProfileTooltip(const SProfile& p) {
    const SControlParams& c = p.controlparams;
    const SFreqParams& f = p.freqparams;
    const SPowParams& w = p.powparams;
    const SSyncParams& s = p.syncparams;
    const int mode = c.mode;

    std::string text = Tr("Режим работы:") + ItemCaption(kOperatingModeItems, mode) + ";\n";
    if (mode != omFixed) {
        text += Tr("Режим запуска:") + ItemCaption(kTriggerModeItems, c.trigger) + ";\n";
        text += Tr("Момент запуска:") + ItemCaption(kRunModeItems, c.runmode);
        if (c.trigger == tmExternal && s.syncin) text += Tr("/инв");
        text += ";\n";
        text += Tr("Время удержания:") + GeneralNumberText(c.dwell * kMicro) + Tr(" мкс") + ";\n";
    }

    if (mode == omFixed || mode == omPowerSweep) {
        text += Tr("Частота:") + GeneralNumberText(f.fix * kMega) + Tr(" МГц") + ";\n";
    } else if (mode == omFrequencySweep || mode == omFrequencyPowerSweep) {
        text += Tr("Частота:") + Range(f.start * kMega, f.stop * kMega, " МГц") + ";" + Tr("Количество точек") +
                GeneralNumberText(f.points) + ";\n";
        text += Tr("Тип развёртки:") + (f.mode != stLinear ? Tr("Логарифмический") : Tr("Линейный")) + ";\n";
    }

    if (mode == omFixed || mode == omFrequencySweep) {
        text += Tr("Мощность:") + GeneralNumberText(w.fix) + Tr(" дБм") + ";";
    } else if (mode == omPowerSweep || mode == omFrequencyPowerSweep) {
        text += Tr("Мощность:") + Range(w.start, w.stop, " дБм") + "; " + Tr("Количество точек") +
                GeneralNumberText(w.points) + ";";
    }

    // The blank inside the caption is a no-break space.
    if (w.allowlimit) text += "\n" + Tr("Ограничение\u00a0мощности:") + GeneralNumberText(w.limit) + Tr(" дБм") + ";";
    text += "\n" + Tr("Управление аттенюатором:") + ItemCaption(kAttStrategyItems, w.strategy) + ";";
    if (s.syncmode > soNone) {
        text += "\n" + Tr("Синхровыход:") + ItemCaption(kSyncOutModeItems, s.syncmode) + "/" +
                GeneralNumberText(s.synctime * kMicro) + Tr(" мкс");
        if (s.syncout) text += Tr("/инв");
    }
    if (s.epc) text += ";\n" + Tr("Внешн.упр.мощностью: Включено;");
    if (s.erg) text += ";\n" + Tr("Внешний ОГ:") + ItemCaption(kRefFrequencyItems, s.rgfreq) + ";";
    return text;
}

}  // namespace z5r

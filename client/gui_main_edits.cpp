// TMain: the numeric edits — how each one is configured, and the table of
// seventeen edits the coupling, validation and sending refer to by index.
#include <algorithm>
#include <cstring>
#include <optional>

#include "core/control_ranges.h"
#include "core/profile.h"
#include "gui_main.h"
#include "gui_main_helpers.h"
#include "korvel/components/kv_spin_edit.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

using korvel::EUnits;

struct SEditSpec {
    const char* name;
    const char* label;  // catalogue key
    EUnits units;
    SControlRange range;  // the limits before an instrument is connected
    double increment;
    int incPow;
    std::optional<int> displayPower;  // a fixed unit, or chosen by magnitude
};

// Pulse times are shown in microseconds.
constexpr int kMicroseconds = -6;

// The step settings are those a profile without step attributes gives.
const SEditSpec kEditSpecs[] = {
    {"edtStart", Z5R_TEXT("Старт:"), EUnits::Frequency, ranges::kFrequency, stepdefaults::kFreqInc, 6, {}},
    {"edtStop", Z5R_TEXT("Стоп:"), EUnits::Frequency, ranges::kFrequency, stepdefaults::kFreqInc, 6, {}},
    {"edtCenter", Z5R_TEXT("Центр:"), EUnits::Frequency, ranges::kFrequency, stepdefaults::kFreqInc, 6, {}},
    {"edtSpan", Z5R_TEXT("Полоса:"), EUnits::Frequency, ranges::kFrequency, stepdefaults::kFreqInc, 6, {}},
    {"edtPoints", Z5R_TEXT("Количество точек:"), EUnits::None, ranges::kPoints, stepdefaults::kCountInc, 0, {}},
    {"PowStart", Z5R_TEXT("Старт:"), EUnits::Level, ranges::kPower, stepdefaults::kPowInc, 0, {}},
    {"PowStop", Z5R_TEXT("Стоп:"), EUnits::Level, ranges::kPower, stepdefaults::kPowInc, 0, {}},
    {"PowCenter", Z5R_TEXT("Центр:"), EUnits::Level, ranges::kPower, stepdefaults::kPowInc, 0, {}},
    {"PowSpan", Z5R_TEXT("Полоса:"), EUnits::Decibel, ranges::kPowerSpan, stepdefaults::kPowInc, 0, {}},
    {"PowPoints", Z5R_TEXT("Количество точек:"), EUnits::None, ranges::kPoints, stepdefaults::kPowInc, 0, {}},
    {"DwellEdit", Z5R_TEXT("Время удержания:"), EUnits::Time, ranges::kDwell, stepdefaults::kTimeInc, -6, {}},
    {"SyncTimeEdit", Z5R_TEXT("Длительность:"), EUnits::Time, ranges::kSyncTime, stepdefaults::kTimeInc, -6, {}},
    {"PhaseDelayEdit", Z5R_TEXT("Сдвиг фазы:"), EUnits::Degree, ranges::kPhase, stepdefaults::kPhaseInc, 0, {}},
    {"TauSingleEdit", Z5R_TEXT("Длительность импульса"), EUnits::Time, ranges::kTau, stepdefaults::kPulseTimeInc,
     -6, kMicroseconds},
    {"PeriodSingleEdit", Z5R_TEXT("Период повторения импульсa"), EUnits::Time, ranges::kPulsePeriod,
     stepdefaults::kPulseTimeInc, -6, kMicroseconds},
    {"QSingleEdit", Z5R_TEXT("Скважность"), EUnits::None, ranges::kDutyFactor, stepdefaults::kDutyInc, 0, {}},
    {"PeriodPacketEdit", Z5R_TEXT("Период повторения пачки"), EUnits::Time, ranges::kPulsePeriod,
     stepdefaults::kPulseTimeInc, -6, kMicroseconds},
    {"PowLimit", Z5R_TEXT("Максимальная мощность:"), EUnits::Level, ranges::kPower, stepdefaults::kPowInc, 0, {}},
};

const SEditSpec& SpecOf(const char* name) {
    const auto* found = std::find_if(std::begin(kEditSpecs), std::end(kEditSpecs),
                                     [name](const SEditSpec& spec) { return std::strcmp(spec.name, name) == 0; });
    // Only the window's own names reach here; a wrong one is a programming error.
    return found != std::end(kEditSpecs) ? *found : kEditSpecs[0];
}

}  // namespace

korvel::TKvSpinEdit* TMain::MakeEdit(const char* name, QWidget* parent) {
    const SEditSpec& spec = SpecOf(name);
    auto* edit = Named(new korvel::TKvSpinEdit(parent), spec.name);
    edit->SetLabel(QString::fromUtf8(spec.label));
    edit->SetUnits(spec.units);
    edit->SetMinValue(spec.range.minimum);
    edit->SetMaxValue(spec.range.maximum);
    edit->SetStep(korvel::StepSettings{spec.increment, false, spec.incPow});
    // Profiles keep each edit's step, so the operator may change it.
    edit->SetStepChangeEnabled(true);
    edit->SetDisplayPower(spec.displayPower);
    return edit;
}

void TMain::BuildEditTable() {
    edits_ = {edtStart,  edtStop,      edtCenter,      edtSpan,       edtPoints,        PowStart,
              PowStop,   PowCenter,    PowSpan,        PowPoints,     DwellEdit,        SyncTimeEdit,
              PhaseDelayEdit, TauSingleEdit, PeriodSingleEdit, QSingleEdit, PeriodPacketEdit};
    // The table is the last part of the setting controls to be made; their
    // handlers are bound once it exists.
    WireSettingControls();
}

korvel::TKvSpinEdit* TMain::Edit(int index) const {
    return IsTableEdit(index) ? edits_[static_cast<std::size_t>(index)] : nullptr;
}

int TMain::EditIndex(const korvel::TKvSpinEdit* edit) const {
    const auto found = std::find(edits_.begin(), edits_.end(), edit);
    return found != edits_.end() ? static_cast<int>(found - edits_.begin()) : kNoEdit;
}

}  // namespace z5r

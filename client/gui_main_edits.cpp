// TMain: the numeric edits — how each one is configured, and the table of
// seventeen edits the coupling, validation and sending refer to by index.
#include <algorithm>
#include <cstring>
#include <optional>

#include "core/control_ranges.h"
#include "model/edit_table.h"
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
    double increment;
    int incPow;
    std::optional<int> displayPower;  // a fixed unit, or chosen by magnitude
};

// Pulse times are shown in microseconds.
constexpr int kMicroseconds = -6;

// The step settings are those a profile without step attributes gives.
const SEditSpec kEditSpecs[] = {
    {"edtStart", Z5R_TEXT("Старт:"), EUnits::Frequency, stepdefaults::kFreqInc, 6, {}},
    {"edtStop", Z5R_TEXT("Стоп:"), EUnits::Frequency, stepdefaults::kFreqInc, 6, {}},
    {"edtCenter", Z5R_TEXT("Центр:"), EUnits::Frequency, stepdefaults::kFreqInc, 6, {}},
    {"edtSpan", Z5R_TEXT("Полоса:"), EUnits::Frequency, stepdefaults::kFreqInc, 6, {}},
    {"edtPoints", Z5R_TEXT("Количество точек:"), EUnits::None, stepdefaults::kCountInc, 0, {}},
    {"PowStart", Z5R_TEXT("Старт:"), EUnits::Level, stepdefaults::kPowInc, 0, {}},
    {"PowStop", Z5R_TEXT("Стоп:"), EUnits::Level, stepdefaults::kPowInc, 0, {}},
    {"PowCenter", Z5R_TEXT("Центр:"), EUnits::Level, stepdefaults::kPowInc, 0, {}},
    {"PowSpan", Z5R_TEXT("Полоса:"), EUnits::Decibel, stepdefaults::kPowInc, 0, {}},
    {"PowPoints", Z5R_TEXT("Количество точек:"), EUnits::None, stepdefaults::kPowInc, 0, {}},
    {"DwellEdit", Z5R_TEXT("Время удержания:"), EUnits::Time, stepdefaults::kTimeInc, -6, {}},
    {"SyncTimeEdit", Z5R_TEXT("Длительность:"), EUnits::Time, stepdefaults::kTimeInc, -6, {}},
    {"PhaseDelayEdit", Z5R_TEXT("Сдвиг фазы:"), EUnits::Degree, stepdefaults::kPhaseInc, 0, {}},
    {"TauSingleEdit", Z5R_TEXT("Длительность импульса"), EUnits::Time, stepdefaults::kPulseTimeInc,
     -6, kMicroseconds},
    {"PeriodSingleEdit", Z5R_TEXT("Период повторения импульсa"), EUnits::Time,
     stepdefaults::kPulseTimeInc, -6, kMicroseconds},
    {"QSingleEdit", Z5R_TEXT("Скважность"), EUnits::None, stepdefaults::kDutyInc, 0, {}},
    {"PeriodPacketEdit", Z5R_TEXT("Период повторения пачки"), EUnits::Time,
     stepdefaults::kPulseTimeInc, -6, kMicroseconds},
    {"PowLimit", Z5R_TEXT("Максимальная мощность:"), EUnits::Level, stepdefaults::kPowInc, 0, {}},
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
    ShowEditRanges(InitialEditRanges(), ranges::kPower);
    // The table is the last part of the setting controls to be made; their
    // handlers are bound once it exists.
    WireSettingControls();
}

korvel::TKvSpinEdit* TMain::Edit(int index) const {
    return IsTableEdit(index) ? edits_[static_cast<std::size_t>(index)] : nullptr;
}

void TMain::ShowEditValue(int edit, double value) {
    korvel::TKvSpinEdit* shown = Edit(edit);
    if (shown == nullptr) return;
    // The controller holds the value already; the change goes nowhere back.
    auto onChange = std::move(shown->OnChange);
    shown->OnChange = nullptr;
    shown->SetValue(value);
    shown->OnChange = std::move(onChange);
}

void TMain::ShowEditChanged(int edit, bool changed) {
    if (korvel::TKvSpinEdit* shown = Edit(edit)) shown->SetChangedVal(changed);
}

void TMain::RememberEditValue(int edit) {
    if (korvel::TKvSpinEdit* shown = Edit(edit)) shown->RememberValue();
}

void TMain::ShowEditRanges(const EditRanges& ranges, const SControlRange& ceiling) {
    for (int i = 0; i < kEditCount; ++i) {
        korvel::TKvSpinEdit* edit = edits_[static_cast<std::size_t>(i)];
        edit->SetMinValue(ranges[static_cast<std::size_t>(i)].minimum);
        edit->SetMaxValue(ranges[static_cast<std::size_t>(i)].maximum);
    }
    PowLimit->SetMinValue(ceiling.minimum);
    PowLimit->SetMaxValue(ceiling.maximum);
}

int TMain::EditIndex(const korvel::TKvSpinEdit* edit) const {
    const auto found = std::find(edits_.begin(), edits_.end(), edit);
    return found != edits_.end() ? static_cast<int>(found - edits_.begin()) : kNoEdit;
}

}  // namespace z5r

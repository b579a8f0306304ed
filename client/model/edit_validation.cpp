#include "model/edit_validation.h"

#include <cmath>

#include "core/profile_enums.h"

namespace z5r {

bool BlocksConfirmation(int edit, const SEditState& state, int confirmedEdit) {
    if (!state.changed || state.minimum == state.maximum) return false;
    if (std::isnan(state.value)) {
        return !(edit == eiQ && (confirmedEdit == eiTau || confirmedEdit == eiPeriodSingle));
    }
    return state.value < state.minimum || state.value > state.maximum;
}

EDispatch DispatchFor(int confirmedEdit, int mode, int sweepType, bool startEnabled) {
    if (IsFrequencyEdit(confirmedEdit)) {
        if (mode == omFrequencyPowerSweep) return EDispatch::FrequencyAndPowerSweep;
        return startEnabled ? EDispatch::FrequencyRange : EDispatch::FrequencyFixed;
    }
    if (IsPowerEdit(confirmedEdit)) {
        if (mode == omFrequencyPowerSweep) return EDispatch::FrequencyAndPowerSweep;
        const bool fixed = mode == omFixed || (mode == omFrequencySweep && sweepType == stLinear);
        return fixed ? EDispatch::PowerFixed : EDispatch::PowerRange;
    }
    switch (confirmedEdit) {
        case eiDwell:
            return EDispatch::Dwell;
        case eiSyncTime:
            return EDispatch::SyncTime;
        case eiPhase:
            return EDispatch::Phase;
        default:
            return IsPulseEdit(confirmedEdit) ? EDispatch::PulseParameters
                                              : EDispatch::ProfileMarkOnly;
    }
}

SValidation Validate(int confirmedEdit, const EditStates& edits, int mode, int sweepType) {
    SValidation result;
    for (int i = 0; i < kEditCount; ++i) {
        if (BlocksConfirmation(i, edits[static_cast<std::size_t>(i)], confirmedEdit))
            result.outOfRange.push_back(i);
    }
    result.blocked = !result.outOfRange.empty();
    if (result.blocked) return result;
    result.dispatch = DispatchFor(confirmedEdit, mode, sweepType, edits[eiStart].enabled);
    result.rememberAccepted = IsFrequencyEdit(confirmedEdit) || IsPowerEdit(confirmedEdit);
    return result;
}

}  // namespace z5r

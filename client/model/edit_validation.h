// What happens when the operator confirms an entry: every changed edit must
// lie within its limits, otherwise nothing is sent and the marks stay; when
// all are valid the confirmed edit decides which setting is sent.
#pragma once

#include <vector>

#include "model/edit_table.h"

namespace z5r {

// The state of one numeric edit as the validation sees it.
struct SEditState {
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    bool changed = false;
    bool enabled = true;
};
using EditStates = std::array<SEditState, kEditCount>;

// Which send a confirmed entry leads to.
enum class EDispatch {
    ProfileMarkOnly,         // no send: only the current-profile mark is refreshed
    FrequencyAndPowerSweep,  // both sweeps (combined sweep)
    FrequencyFixed,
    FrequencyRange,
    PowerFixed,
    PowerRange,
    Dwell,
    SyncTime,
    Phase,
    PulseParameters,  // the pulse rules of the confirmed pulse edit
};

struct SValidation {
    // True when any changed edit is out of range: nothing is sent, no mark is
    // cleared.
    bool blocked = false;
    // The edits that block, in table order.
    std::vector<int> outOfRange;
    // Valid only when not blocked; all changed marks are then cleared first.
    EDispatch dispatch = EDispatch::ProfileMarkOnly;
    // A frequency or power send: the accepted values are remembered
    // (CParameterCoupling::RememberAccepted) after it.
    bool rememberAccepted = false;
};

// Whether one edit blocks the confirmation of `confirmedEdit`: it carries a
// changed mark, its limits differ, and its value is outside them or is not a
// number. A duty factor that cannot be computed while typing does not block
// the confirmation of the pulse width or period, which recompute it.
bool BlocksConfirmation(int edit, const SEditState& state, int confirmedEdit);

// The send a valid confirmation of `confirmedEdit` leads to, given the
// operating mode, the sweep type and whether edtStart is enabled.
EDispatch DispatchFor(int confirmedEdit, int mode, int sweepType, bool startEnabled);

// The whole confirmation step.
SValidation Validate(int confirmedEdit, const EditStates& edits, int mode, int sweepType);

}  // namespace z5r

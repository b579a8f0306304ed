// The values the setting controls and the readouts show for the current
// record when the window fills them (SetControlsState, the send handlers).
#pragma once

#include <optional>

#include "core/profile.h"
#include "model/control_states.h"
#include "model/edit_table.h"

namespace z5r {

// The values of the seventeen edits: the record's fields; a centre edit shows
// the middle of start and stop while its range edits are on, a span edit the
// distance between them. While the settings are locked every edit is blank
// (not-a-number).
EditValues DisplayedEditValues(const SProfile& profile, const SControlInputs& in);

// The large readouts: F0/P0 the fixed value (or, during manual stepping,
// the point last set), F1/F2 and P1/P2 the sweep start and stop while the
// range edits are on and 0 otherwise.
struct SReadouts {
    double f0 = 0.0;
    double p0 = 0.0;
    double f1 = 0.0;
    double f2 = 0.0;
    double p1 = 0.0;
    double p2 = 0.0;
};

struct SSteppedPoint {
    double frequency = 0.0;
    double level = 0.0;
};

SReadouts ReadoutValues(const SProfile& profile, const SControlInputs& in,
                        std::optional<SSteppedPoint> lastStepped = std::nullopt);

// Every setting control's value for the record: what SetControlsState shows.
// Locked, the selectors show their first item, the reference frequency and
// the ceiling nothing (-1, not-a-number) and the check boxes clear.
struct SDisplayedControls {
    EditValues edits{};
    double powLimit = 0.0;
    int mode = 0;
    int trigger = 0;
    int runmode = 0;
    int syncmode = 0;
    int rgfreq = -1;
    int attStrategy = 0;
    int pulsemode = 0;
    int sweepType = 0;  // LinLogRG
    bool ceiling = false;
    bool extRef = false;
    bool syncIn = false;
    bool syncOut = false;
    bool epc = false;
    SReadouts readouts;
};

SDisplayedControls DisplayedControls(const SProfile& profile, const SControlInputs& in);

}  // namespace z5r

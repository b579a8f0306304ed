// Keeps the frequency and the power group (start, stop, centre, span,
// points) consistent while the operator types, and remembers what the
// coupling needs between keystrokes.
//
// The window calls OnEditChange from the change notification of the
// frequency and power edits (after its own "shown" and "locked" guards) with
// the values its edits hold now, and performs every returned write with its
// SetEditValue, the changed edit as the source. A write with quiet == false
// fires the target edit's change notification, which comes back here as a
// further OnEditChange for that edit.
#pragma once

#include <array>
#include <vector>

#include "model/edit_table.h"

namespace z5r {

struct SCouplingMemory {
    // Last accepted values of edits 0-9.
    std::array<double, kRangeEditCount> lastValues{};
    // Per group (0 frequency, 1 power): the stop to restore when the points
    // leave 1.
    std::array<double, 2> savedStop{};
    // Shared by both groups: a points edit was set to 1.
    bool collapsed = false;
    int collapseCount = 0;
};

class CParameterCoupling {
public:
    explicit CParameterCoupling(const SInstrumentLimits& limits = {});

    // Limits of the centre/span clamping (the instrument's once connected).
    void SetLimits(const SInstrumentLimits& limits) { limits_ = limits; }
    const SInstrumentLimits& Limits() const { return limits_; }

    const SCouplingMemory& Memory() const { return memory_; }
    SCouplingMemory& Memory() { return memory_; }

    // The coupling for a change of `edit`; `values` are the edits' values
    // after the change. Returns the writes to perform in order (none for an
    // edit outside the two groups or when a value needed is not a number).
    std::vector<SEditWrite> OnEditChange(int edit, const EditValues& values);

    // Remembering accepted values after a confirmed frequency or power entry:
    // every enabled edit 0-9 holding a number goes into lastValues; the stop
    // edits become the groups' savedStop. Returns the edits that must be told
    // to remember their current value (RememberValue): the other start, stop,
    // centre and span edits of the confirmed edit's group.
    std::vector<int> RememberAccepted(int confirmedEdit, const EditValues& values,
                                      const EditFlags& enabled);

private:
    std::vector<SEditWrite> StartOrStopChanged(int base, int edit, const EditValues& values);
    std::vector<SEditWrite> CentreOrSpanChanged(int base, int edit, const EditValues& values);
    std::vector<SEditWrite> PointsChanged(int base, const EditValues& values);
    double& Last(int base, int offset) {
        return memory_.lastValues[static_cast<std::size_t>(base + offset)];
    }
    double& SavedStop(int base) { return memory_.savedStop[base == kFreqGroup ? 0 : 1]; }
    void GroupLimits(int base, double& lo, double& hi) const;

    SInstrumentLimits limits_;
    SCouplingMemory memory_;
};

}  // namespace z5r

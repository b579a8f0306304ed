// Manual stepping through the points of the current sweep (F6): with the
// manual trigger and the run moment "next point" the instrument is held at a
// fixed frequency and level and the client sets one point per key press,
// wrapping after the last; otherwise a key press starts one sweep.
#pragma once

#include <cstddef>

#include "core/profile.h"
#include "model/segment_expansion.h"

namespace z5r {

// nextPointMode: the run moment "next point" with the settings not locked.
bool NextPointMode(const SProfile& profile, bool settingsLocked);

// Manual stepping exists: manual trigger, run moment "next point", a mode
// other than the fixed one, settings not locked.
bool ManualSteppingActive(const SProfile& profile, bool settingsLocked);
bool ManualSteppingActive(int mode, int trigger, int runmode, bool settingsLocked);

// What one hand step asks of the instrument.
struct SHandStep {
    enum class EKind { None, Trigger, SetPoint };
    EKind kind = EKind::None;
    double frequency = 0.0;  // SetPoint: SetFixFreqPow with these
    double level = 0.0;
    std::size_t progress = 0;  // SetPoint: the value SweepPB shows afterwards
};

class CHandStepper {
public:
    // Back to the first point (stepIndex 0, SweepPB 0).
    void Reset() { index_ = 0; }
    std::size_t Index() const { return index_; }

    // One hand step. Nothing without a connection, with empty lists or lists
    // of different lengths, or with the position outside them. Without
    // nextPointMode only a step started by the operator triggers one sweep;
    // with it the point at the position is set and the position advances,
    // back to 0 after the last point.
    SHandStep Step(const SPointLists& lists, bool connected, bool nextPointMode, bool byOperator);

private:
    std::size_t index_ = 0;
};

}  // namespace z5r

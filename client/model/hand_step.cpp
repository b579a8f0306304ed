#include "model/hand_step.h"

#include "core/profile_enums.h"

namespace z5r {

bool NextPointMode(const SProfile& profile, bool settingsLocked) {
    return !settingsLocked && profile.controlparams.runmode == rmNextPoint;
}

bool ManualSteppingActive(int mode, int trigger, int runmode, bool settingsLocked) {
    return trigger == tmManual && runmode == rmNextPoint && mode != omFixed && !settingsLocked;
}

bool ManualSteppingActive(const SProfile& profile, bool settingsLocked) {
    const SControlParams& c = profile.controlparams;
    return ManualSteppingActive(c.mode, c.trigger, c.runmode, settingsLocked);
}

SHandStep CHandStepper::Step(const SPointLists& lists, bool connected, bool nextPointMode,
                             bool byOperator) {
    SHandStep step;
    const std::size_t size = lists.freqs.size();
    if (!connected || size == 0 || lists.levels.size() != size || index_ >= size) return step;
    if (!nextPointMode) {
        if (byOperator) step.kind = SHandStep::EKind::Trigger;
        return step;
    }
    step.kind = SHandStep::EKind::SetPoint;
    step.frequency = lists.freqs[index_];
    step.level = lists.levels[index_];
    ++index_;
    step.progress = index_;
    if (index_ >= size) index_ = 0;
    return step;
}

}  // namespace z5r

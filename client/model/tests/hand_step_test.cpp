// Manual stepping: walking through the points and wrapping after the last.
#include "model/hand_step.h"

#include <gtest/gtest.h>

#include "core/profile_enums.h"

namespace z5r {
namespace {

using EKind = SHandStep::EKind;

const SPointLists kThreePoints{{1e9, 2e9, 3e9}, {-10, -5, 0}};

TEST(HandStep, WalksThroughThePointsAndWrapsAfterTheLast) {
    CHandStepper stepper;
    const double expectedFreqs[] = {1e9, 2e9, 3e9, 1e9, 2e9};
    const std::size_t expectedProgress[] = {1, 2, 3, 1, 2};
    for (int i = 0; i < 5; ++i) {
        const SHandStep step = stepper.Step(kThreePoints, true, true, true);
        ASSERT_EQ(step.kind, EKind::SetPoint);
        EXPECT_DOUBLE_EQ(step.frequency, expectedFreqs[i]);
        EXPECT_DOUBLE_EQ(step.level, kThreePoints.levels[static_cast<std::size_t>(i % 3)]);
        EXPECT_EQ(step.progress, expectedProgress[i]);
    }
    EXPECT_EQ(stepper.Index(), 2u);
    stepper.Reset();
    EXPECT_DOUBLE_EQ(stepper.Step(kThreePoints, true, true, false).frequency, 1e9);
}

TEST(HandStep, WithoutNextPointModeOnlyTheOperatorTriggersOneSweep) {
    CHandStepper stepper;
    EXPECT_EQ(stepper.Step(kThreePoints, true, false, true).kind, EKind::Trigger);
    EXPECT_EQ(stepper.Step(kThreePoints, true, false, false).kind, EKind::None);
    EXPECT_EQ(stepper.Index(), 0u);
}

TEST(HandStep, NothingWithoutConnectionOrUsableLists) {
    CHandStepper stepper;
    EXPECT_EQ(stepper.Step(kThreePoints, false, true, true).kind, EKind::None);
    EXPECT_EQ(stepper.Step(SPointLists{}, true, true, true).kind, EKind::None);
    EXPECT_EQ(stepper.Step(SPointLists{{1e9, 2e9}, {0}}, true, true, true).kind, EKind::None);
    // A position left over from a longer list is outside a shorter one.
    stepper.Step(kThreePoints, true, true, true);
    stepper.Step(kThreePoints, true, true, true);
    EXPECT_EQ(stepper.Step(SPointLists{{1e9}, {0}}, true, true, true).kind, EKind::None);
}

TEST(HandStep, ManualSteppingNeedsManualTriggerNextPointASweepModeAndNoLock) {
    SProfile p;
    p.controlparams.trigger = tmManual;
    p.controlparams.runmode = rmNextPoint;
    p.controlparams.mode = omFrequencySweep;
    EXPECT_TRUE(ManualSteppingActive(p, false));
    EXPECT_TRUE(NextPointMode(p, false));
    EXPECT_FALSE(ManualSteppingActive(p, true));
    EXPECT_FALSE(NextPointMode(p, true));
    p.controlparams.mode = omFixed;
    EXPECT_FALSE(ManualSteppingActive(p, false));
    p.controlparams.mode = omListSweep;
    p.controlparams.trigger = tmExternal;
    EXPECT_FALSE(ManualSteppingActive(p, false));
    p.controlparams.trigger = tmManual;
    p.controlparams.runmode = rmSweepStart;
    EXPECT_FALSE(ManualSteppingActive(p, false));
}

}  // namespace
}  // namespace z5r

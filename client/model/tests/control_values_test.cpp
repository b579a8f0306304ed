// What the setting controls show for a record, locked and unlocked.
#include "model/control_values.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/profile_enums.h"

namespace z5r {
namespace {

SProfile Record() {
    SProfile p = MakeInitialProfile();
    p.controlparams.mode = omPowerSweep;
    p.controlparams.trigger = tmManual;
    p.syncparams.syncmode = 1;
    p.syncparams.rgfreq = 2;
    p.syncparams.syncin = true;
    p.syncparams.epc = true;
    p.powparams.limit = 7.0;
    return p;
}

TEST(DisplayedControls, UnlockedTheRecordLockedTheFirstItemsAndNothingElse) {
    const SProfile p = Record();
    const SDisplayedControls open = DisplayedControls(p, ControlInputsFor(p, true, false, true, 0));
    EXPECT_EQ(open.mode, omPowerSweep);
    EXPECT_EQ(open.trigger, tmManual);
    EXPECT_EQ(open.syncmode, 1);
    EXPECT_EQ(open.rgfreq, 2);
    EXPECT_TRUE(open.syncIn);
    EXPECT_TRUE(open.epc);
    EXPECT_EQ(open.powLimit, 7.0);

    const SDisplayedControls locked = DisplayedControls(p, ControlInputsFor(p, true, true, true, 0));
    EXPECT_EQ(locked.mode, 0);
    EXPECT_EQ(locked.trigger, 0);
    EXPECT_EQ(locked.syncmode, 0);
    EXPECT_EQ(locked.rgfreq, -1);
    EXPECT_FALSE(locked.syncIn);
    EXPECT_FALSE(locked.epc);
    EXPECT_TRUE(std::isnan(locked.powLimit));
    EXPECT_TRUE(std::isnan(locked.edits[eiStart]));
}

}  // namespace
}  // namespace z5r

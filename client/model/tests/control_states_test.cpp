// The enabled-controls table and the values the controls show.
#include "model/control_states.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/profile_enums.h"
#include "model/control_values.h"

namespace z5r {
namespace {

using enum EControl;

SControlInputs Connected(int mode) {
    SControlInputs in;
    in.connected = true;
    in.settingsLocked = false;
    in.mode = mode;
    return in;
}

std::vector<EControl> EnabledOf(const SControlInputs& in) {
    const CControlStates states = EnabledControls(in);
    std::vector<EControl> enabled;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (states.Enabled(static_cast<EControl>(i))) enabled.push_back(static_cast<EControl>(i));
    }
    return enabled;
}

TEST(ControlStates, LockedOrDisconnectedLeavesOnlyTheExternalPowerControl) {
    SControlInputs locked = Connected(omFrequencySweep);
    locked.settingsLocked = true;
    locked.trigger = tmManual;
    EXPECT_TRUE(EnabledOf(locked).empty());

    SControlInputs disconnected = Connected(omFrequencySweep);
    disconnected.connected = false;
    disconnected.trigger = tmManual;
    EXPECT_EQ(EnabledOf(disconnected), std::vector<EControl>{EPCCB});
}

struct SModeRow {
    int mode;
    bool sweepControls;  // trigger, run moment, dwell
    bool freqRange;
    bool centre;
    bool powRange;
    bool powPoints;
    bool f0;
    bool p0;
};

class ModeRows : public ::testing::TestWithParam<SModeRow> {};

TEST_P(ModeRows, ModeDecidesTheFrequencyAndPowerControls) {
    const SModeRow& row = GetParam();
    const CControlStates s = EnabledControls(Connected(row.mode));
    EXPECT_TRUE(s.Enabled(ModeCB));
    for (EControl c : {TriggerModeCB, RunModeCB, DwellEdit})
        EXPECT_EQ(s.Enabled(c), row.sweepControls) << ControlName(c);
    for (EControl c : {edtStart, edtStop, edtSpan, edtPoints, FreqFullRangeB, LinLogRG}) {
        EXPECT_EQ(s.Enabled(c), row.freqRange) << ControlName(c);
    }
    EXPECT_EQ(s.Enabled(edtCenter), row.centre);
    EXPECT_EQ(s.Enabled(PowCenter), row.centre);
    for (EControl c : {PowStart, PowStop, PowSpan, PowFullRangeB})
        EXPECT_EQ(s.Enabled(c), row.powRange) << ControlName(c);
    EXPECT_EQ(s.Enabled(PowPoints), row.powPoints);
    EXPECT_EQ(s.Enabled(F0Label), row.f0);
    EXPECT_EQ(s.Enabled(P0Label), row.p0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModeRows,
    ::testing::Values(SModeRow{omFixed, false, false, true, false, false, true, true},
                      SModeRow{omFrequencySweep, true, true, true, false, false, false, true},
                      SModeRow{omPowerSweep, true, false, true, true, true, true, false},
                      SModeRow{omFrequencyPowerSweep, true, true, true, true, false, false, false},
                      SModeRow{omListSweep, true, false, false, false, false, false, false}));

TEST(ControlStates, SingleControlsFollowTheirConditions) {
    SControlInputs in = Connected(omFixed);
    CControlStates s = EnabledControls(in);
    for (EControl c : {PowLimit, AllowLimitPowerCB, SyncOutModeCB, SyncOutCB, SyncTimeEdit,
                       SyncInCB, ERGCB, PMModeCB, EPCCB, RGFreqCB, ListLV, NewListAction,
                       OpenListAction, OpenListAndAddAction, AddLineAction}) {
        EXPECT_TRUE(s.Enabled(c)) << ControlName(c);
    }
    for (EControl c : {AttStrategyCB, HandModeStepAction, SweepPB, SingleModGroupBox,
                       PacketModGroupBox, SaveListAction}) {
        EXPECT_FALSE(s.Enabled(c)) << ControlName(c);
    }

    in.attStrategyOk = true;
    in.ceilingChecked = true;
    in.extRefChecked = true;
    in.syncmode = soSyncInRepeat;
    in.pulsemode = pmPeriodic;
    in.segmentCount = 1;
    in.trigger = tmManual;
    s = EnabledControls(in);
    for (EControl c :
         {AttStrategyCB, SingleModGroupBox, SaveListAction, HandModeStepAction, SweepPB}) {
        EXPECT_TRUE(s.Enabled(c)) << ControlName(c);
    }
    for (EControl c : {PowLimit, RGFreqCB, SyncTimeEdit, PacketModGroupBox})
        EXPECT_FALSE(s.Enabled(c)) << ControlName(c);
    in.pulsemode = pmPacket;
    EXPECT_TRUE(EnabledControls(in).Enabled(PacketModGroupBox));
    in.pulsemode = pmExternal;
    EXPECT_FALSE(EnabledControls(in).Enabled(PacketModGroupBox));
    EXPECT_FALSE(EnabledControls(in).Enabled(SingleModGroupBox));
}

TEST(ControlStates, ManualSteppingEnablesBothFixedValueReadouts) {
    SControlInputs in = Connected(omFrequencyPowerSweep);
    in.trigger = tmManual;
    in.runmode = rmNextPoint;
    const CControlStates s = EnabledControls(in);
    EXPECT_TRUE(s.Enabled(F0Label));
    EXPECT_TRUE(s.Enabled(P0Label));
}

TEST(ControlStates, InputsFromTheRecordShowClearBoxesWhileLocked) {
    SProfile p;
    p.powparams.allowlimit = true;
    p.syncparams.erg = true;
    p.controlparams.mode = omPowerSweep;
    const SControlInputs unlocked = ControlInputsFor(p, true, false, true, 3);
    EXPECT_TRUE(unlocked.ceilingChecked);
    EXPECT_TRUE(unlocked.extRefChecked);
    EXPECT_EQ(unlocked.mode, omPowerSweep);
    EXPECT_EQ(unlocked.segmentCount, 3u);
    const SControlInputs locked = ControlInputsFor(p, true, true, true, 3);
    EXPECT_FALSE(locked.ceilingChecked);
    EXPECT_FALSE(locked.extRefChecked);
}

TEST(ControlValues, CentreAndSpanFollowStartAndStopWhileTheRangeIsOn) {
    SProfile p = MakeInitialProfile();
    p.freqparams.start = 1e9;
    p.freqparams.stop = 3e9;
    p.freqparams.fix = 7e9;
    p.powparams.start = -10;
    p.powparams.stop = -30;
    p.powparams.fix = 5;
    EditValues v = DisplayedEditValues(p, Connected(omFrequencySweep));
    EXPECT_DOUBLE_EQ(v[eiCenter], 2e9);
    EXPECT_DOUBLE_EQ(v[eiSpan], 2e9);
    EXPECT_DOUBLE_EQ(v[eiPowCenter], 5);  // power range off: the fixed level
    EXPECT_DOUBLE_EQ(v[eiPowSpan], 20);
    EXPECT_DOUBLE_EQ(v[eiDwell], p.controlparams.dwell);

    SControlInputs locked = Connected(omFrequencySweep);
    locked.settingsLocked = true;
    v = DisplayedEditValues(p, locked);
    for (double value : v) EXPECT_TRUE(std::isnan(value));
}

TEST(ControlValues, ReadoutsShowFixedValueRangeOrSteppedPoint) {
    SProfile p;
    p.freqparams.start = 1e9;
    p.freqparams.stop = 2e9;
    p.freqparams.fix = 5e9;
    p.powparams.fix = -7;
    SControlInputs in = Connected(omFrequencySweep);
    SReadouts r = ReadoutValues(p, in, SSteppedPoint{3e9, 1});
    EXPECT_DOUBLE_EQ(r.f0, 5e9);  // no manual stepping: the stepped point is ignored
    EXPECT_DOUBLE_EQ(r.f1, 1e9);
    EXPECT_DOUBLE_EQ(r.f2, 2e9);
    EXPECT_DOUBLE_EQ(r.p1, 0);
    in.trigger = tmManual;
    in.runmode = rmNextPoint;
    r = ReadoutValues(p, in, SSteppedPoint{3e9, 1});
    EXPECT_DOUBLE_EQ(r.f0, 3e9);
    EXPECT_DOUBLE_EQ(r.p0, 1);
}

}  // namespace
}  // namespace z5r

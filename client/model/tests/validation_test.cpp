// Confirming an entry: range check, dispatch, and the ceiling, full-range and
// point-limit rules around it.
#include <gtest/gtest.h>

#include <limits>

#include "core/profile_enums.h"
#include "model/edit_validation.h"
#include "model/full_range.h"
#include "model/power_ceiling.h"
#include "model/sweep_points.h"

namespace z5r {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// All edits unchanged, within the limits of a default instrument.
EditStates ValidEdits() {
    const EditRanges ranges = EditRangesFor(SInstrumentLimits{});
    EditStates edits;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i] = SEditState{ranges[i].minimum, ranges[i].minimum, ranges[i].maximum, false, true};
    }
    return edits;
}

TEST(Validation, OneOutOfRangeEditBlocksAValidFrequencyChangeUntilCorrected) {
    EditStates edits = ValidEdits();
    edits[eiStop].value = 2e9;
    edits[eiStop].changed = true;
    edits[eiDwell].value = 5;  // above 4 s
    edits[eiDwell].changed = true;

    SValidation v = Validate(eiStop, edits, omFrequencySweep, stLinear);
    EXPECT_TRUE(v.blocked);
    EXPECT_EQ(v.outOfRange, std::vector<int>{eiDwell});
    EXPECT_FALSE(v.rememberAccepted);

    edits[eiDwell].value = 3;
    v = Validate(eiStop, edits, omFrequencySweep, stLinear);
    EXPECT_FALSE(v.blocked);
    EXPECT_EQ(v.dispatch, EDispatch::FrequencyRange);
    EXPECT_TRUE(v.rememberAccepted);
}

TEST(Validation, OnlyChangedEditsWithARangeAreChecked) {
    EditStates edits = ValidEdits();
    edits[eiPhase].value = 500;                           // out of range but not changed
    edits[eiSyncTime] = SEditState{7, 1, 1, true, true};  // no range: minimum equals maximum
    EXPECT_FALSE(Validate(eiPhase, edits, omFixed, stLinear).blocked);
    edits[eiPhase].changed = true;
    EXPECT_EQ(Validate(kNoEdit, edits, omFixed, stLinear).outOfRange, std::vector<int>{eiPhase});
}

TEST(Validation, BlankChangedEditBlocksExceptAnUncomputableDutyFactor) {
    const SEditState blank{kNaN, 1, 4e9, true, true};
    EXPECT_TRUE(BlocksConfirmation(eiStart, blank, eiStart));
    EXPECT_FALSE(BlocksConfirmation(eiQ, blank, eiTau));
    EXPECT_FALSE(BlocksConfirmation(eiQ, blank, eiPeriodSingle));
    EXPECT_TRUE(BlocksConfirmation(eiQ, blank, eiQ));
    EXPECT_TRUE(BlocksConfirmation(eiQ, blank, eiStop));
}

struct SDispatchCase {
    int edit;
    int mode;
    int sweepType;
    bool startEnabled;
    EDispatch expected;
};

class DispatchTable : public ::testing::TestWithParam<SDispatchCase> {};

TEST_P(DispatchTable, ConfirmedEditAndModeChooseTheSend) {
    const SDispatchCase& c = GetParam();
    EditStates edits = ValidEdits();
    edits[eiStart].enabled = c.startEnabled;
    const SValidation v = Validate(c.edit, edits, c.mode, c.sweepType);
    ASSERT_FALSE(v.blocked);
    EXPECT_EQ(v.dispatch, c.expected);
    EXPECT_EQ(v.rememberAccepted, IsFrequencyEdit(c.edit) || IsPowerEdit(c.edit));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DispatchTable,
    ::testing::Values(
        SDispatchCase{eiCenter, omFixed, stLinear, false, EDispatch::FrequencyFixed},
        SDispatchCase{eiCenter, omPowerSweep, stLinear, false, EDispatch::FrequencyFixed},
        SDispatchCase{eiStop, omFrequencySweep, stLinear, true, EDispatch::FrequencyRange},
        SDispatchCase{eiPoints, omFrequencySweep, stLog, true, EDispatch::FrequencyRange},
        SDispatchCase{eiSpan, omFrequencyPowerSweep, stLinear, true,
                      EDispatch::FrequencyAndPowerSweep},
        SDispatchCase{eiPowStop, omFrequencyPowerSweep, stLinear, true,
                      EDispatch::FrequencyAndPowerSweep},
        SDispatchCase{eiPowCenter, omFixed, stLinear, false, EDispatch::PowerFixed},
        SDispatchCase{eiPowCenter, omFrequencySweep, stLinear, true, EDispatch::PowerFixed},
        SDispatchCase{eiPowCenter, omFrequencySweep, stLog, true, EDispatch::PowerRange},
        SDispatchCase{eiPowStart, omPowerSweep, stLinear, false, EDispatch::PowerRange},
        SDispatchCase{eiPowCenter, omListSweep, stLinear, false, EDispatch::PowerRange},
        SDispatchCase{eiDwell, omFrequencySweep, stLinear, true, EDispatch::Dwell},
        SDispatchCase{eiSyncTime, omFixed, stLinear, false, EDispatch::SyncTime},
        SDispatchCase{eiPhase, omFixed, stLinear, false, EDispatch::Phase},
        SDispatchCase{eiQ, omFixed, stLinear, false, EDispatch::PulseParameters},
        SDispatchCase{eiPeriodPacket, omFixed, stLinear, false, EDispatch::PulseParameters},
        SDispatchCase{kNoEdit, omFrequencySweep, stLinear, true, EDispatch::ProfileMarkOnly}));

TEST(EditTable, InstrumentLimitsReachTheRangeEditsOnly) {
    SInstrumentLimits limits;
    limits.minFreq = 10e6;
    limits.maxFreq = 20e9;
    limits.minPow = -110;
    limits.maxPow = 20;
    limits.maxPoints = 5001;
    const EditRanges r = EditRangesFor(limits);
    EXPECT_DOUBLE_EQ(r[eiCenter].minimum, 10e6);
    EXPECT_DOUBLE_EQ(r[eiStop].maximum, 20e9);
    EXPECT_DOUBLE_EQ(r[eiSpan].minimum, 0);
    EXPECT_DOUBLE_EQ(r[eiSpan].maximum, 20e9 - 10e6);
    EXPECT_DOUBLE_EQ(r[eiPowSpan].maximum, 130);
    EXPECT_DOUBLE_EQ(r[eiPowPoints].maximum, 5001);
    EXPECT_DOUBLE_EQ(r[eiPoints].minimum, 1);
    EXPECT_DOUBLE_EQ(r[eiDwell].maximum, 4);
    EXPECT_DOUBLE_EQ(PowLimitRangeFor(limits).minimum, -110);
}

TEST(EditTable, RecordFieldsFollowTheTable) {
    SProfile p;
    *RecordField(p, eiCenter) = 5;
    *RecordField(p, eiPowPoints) = 7;
    *RecordField(p, eiQ) = 9;
    EXPECT_DOUBLE_EQ(p.freqparams.fix, 5);
    EXPECT_DOUBLE_EQ(p.powparams.points, 7);
    EXPECT_DOUBLE_EQ(p.pulsemodparams.q, 9);
    EXPECT_EQ(RecordField(p, eiSpan), nullptr);
    EXPECT_EQ(RecordField(p, eiPowSpan), nullptr);
    EXPECT_EQ(RecordField(p, kEditCount), nullptr);
    EXPECT_STREQ(EditName(eiPhase), "PhaseDelayEdit");
}

TEST(PowerCeiling, LevelsAboveAnEnabledCeilingAreClamped) {
    SPowParams pow;
    pow.limit = 10;
    EXPECT_DOUBLE_EQ(LimitPower(pow, 20), 20);
    pow.allowlimit = true;
    EXPECT_DOUBLE_EQ(LimitPower(pow, 20), 10);
    EXPECT_DOUBLE_EQ(LimitPower(pow, -5), -5);
    EXPECT_EQ(PowerCeiling(pow), 10.0);
}

TEST(PowerCeiling, ResendAfterTheCeilingDependsOnModeAndLevels) {
    SProfile p;
    p.powparams.limit = 10;
    p.powparams.start = -20;
    p.powparams.stop = 15;
    EXPECT_FALSE(CeilingResendEdit(p));  // ceiling off
    p.powparams.allowlimit = true;
    p.controlparams.mode = omFixed;
    EXPECT_EQ(CeilingResendEdit(p), eiPowCenter);
    p.controlparams.mode = omFrequencySweep;
    EXPECT_EQ(CeilingResendEdit(p), eiPowCenter);
    p.controlparams.mode = omPowerSweep;
    EXPECT_EQ(CeilingResendEdit(p), eiPowStop);
    p.powparams.stop = 10;  // nothing above the ceiling
    EXPECT_FALSE(CeilingResendEdit(p));
}

TEST(FullRange, PowerRangeRespectsTheCeiling) {
    const SInstrumentLimits limits;  // -130 … 35 dBm
    EXPECT_EQ(PowerFullRange(limits, false, 10),
              (std::vector<SEditWrite>{{eiPowStart, -130, true}, {eiPowStop, 35, false}}));
    EXPECT_EQ(PowerFullRange(limits, true, 10),
              (std::vector<SEditWrite>{{eiPowStart, -130, true}, {eiPowStop, 10, false}}));
    EXPECT_EQ(PowerFullRange(limits, true, -140),
              (std::vector<SEditWrite>{{eiPowStart, -140, true}, {eiPowStop, -140, false}}));
    EXPECT_EQ(FrequencyFullRange(limits),
              (std::vector<SEditWrite>{{eiStart, 0, true}, {eiStop, 110e9, false}}));
    EXPECT_TRUE(FrequencyFullRangeApplies(omFrequencyPowerSweep));
    EXPECT_FALSE(FrequencyFullRangeApplies(omPowerSweep));
    EXPECT_TRUE(PowerFullRangeApplies(omPowerSweep));
    EXPECT_FALSE(PowerFullRangeApplies(omFrequencySweep));
}

TEST(ClientListPoints, MoreThan5001PointsAreReducedOnlyWhenTheListIsClientBuilt) {
    SProfile p;
    p.freqparams.points = 6000;
    p.controlparams.mode = omFrequencySweep;
    EXPECT_FALSE(IsClientBuiltSweep(p));
    p.freqparams.mode = stLog;
    EXPECT_TRUE(IsClientBuiltSweep(p));
    EXPECT_TRUE(LimitClientListPoints(p.freqparams));
    EXPECT_DOUBLE_EQ(p.freqparams.points, 5001);
    EXPECT_FALSE(LimitClientListPoints(p.freqparams));
    p.controlparams.mode = omFrequencyPowerSweep;
    p.freqparams.mode = stLinear;
    EXPECT_TRUE(IsClientBuiltSweep(p));
}

}  // namespace
}  // namespace z5r

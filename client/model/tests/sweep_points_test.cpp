// Points built from the sweep parameters and the checks of what the
// instrument returned.
#include "model/sweep_points.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/profile_enums.h"
#include "model/list_corrections.h"

namespace z5r {
namespace {

SProfile SweepProfile(int mode) {
    SProfile p;
    p.controlparams.mode = mode;
    p.freqparams.start = 1e9;
    p.freqparams.stop = 2e9;
    p.freqparams.fix = 5e9;
    p.freqparams.points = 3;
    p.powparams.start = -20;
    p.powparams.stop = 20;
    p.powparams.fix = -7;
    p.powparams.points = 5;
    return p;
}

TEST(SweepPoints, EachModeBuildsItsOwnSegment) {
    SPointLists lists{{1}, {1}};
    BuildSweepPoints(lists, SweepProfile(omFrequencySweep));
    EXPECT_EQ(lists.freqs, (std::vector<double>{1e9, 1.5e9, 2e9}));
    EXPECT_EQ(lists.levels, (std::vector<double>{-7, -7, -7}));

    BuildSweepPoints(lists, SweepProfile(omFrequencyPowerSweep));
    EXPECT_EQ(lists.freqs, (std::vector<double>{1e9, 1.5e9, 2e9}));
    EXPECT_EQ(lists.levels, (std::vector<double>{-20, 0, 20}));

    BuildSweepPoints(lists, SweepProfile(omPowerSweep));
    EXPECT_EQ(lists.freqs, (std::vector<double>{5e9, 5e9, 5e9, 5e9, 5e9}));
    EXPECT_EQ(lists.levels, (std::vector<double>{-20, -10, 0, 10, 20}));

    BuildSweepPoints(lists, SweepProfile(omFixed));
    EXPECT_EQ(lists.freqs, std::vector<double>{0});
    EXPECT_EQ(lists.levels, std::vector<double>{0});
}

TEST(SweepPoints, LogarithmicTypeAndCeilingApply) {
    SProfile p = SweepProfile(omFrequencyPowerSweep);
    p.freqparams.mode = stLog;
    p.freqparams.start = 1e6;
    p.freqparams.stop = 1e9;
    p.powparams.allowlimit = true;
    p.powparams.limit = 5;
    SPointLists lists;
    BuildSweepPoints(lists, p);
    EXPECT_EQ(lists.freqs, (std::vector<double>{1000000, 31622776, 1000000000}));
    // The stop level is clamped before the expansion, so the ramp ends there.
    EXPECT_EQ(lists.levels, (std::vector<double>{-20, -7.5, 5}));
}

TEST(SweepPoints, LogarithmicSweepOf6000PointsIsBuiltWith5001) {
    SProfile p = SweepProfile(omFrequencySweep);
    p.freqparams.mode = stLog;
    p.freqparams.points = 6000;
    ASSERT_TRUE(LimitClientListPoints(p.freqparams));
    SPointLists lists;
    BuildSweepPoints(lists, p);
    EXPECT_EQ(lists.Size(), 5001u);
    EXPECT_EQ(lists.freqs.front(), 1e9);
    EXPECT_EQ(lists.freqs.back(), 2e9);
}

TEST(ListCorrections, FrequenciesExactLevelsWithinAThousandthOfADecibel) {
    const SPointLists sent{{1e9, 2e9}, {0, 0}};
    EXPECT_FALSE(ListWasCorrected(sent, sent));
    EXPECT_FALSE(ListWasCorrected(sent, {{1e9, 2e9}, {0.0005, 0}}));
    EXPECT_TRUE(ListWasCorrected(sent, {{1e9, 2e9}, {0, 0.002}}));
    EXPECT_TRUE(ListWasCorrected(sent, {{1e9, 2e9 + 1}, {0, 0}}));
    // Points only one list has are not compared.
    EXPECT_FALSE(ListWasCorrected(sent, {{1e9}, {0}}));
    EXPECT_FALSE(ListWasCorrected({{1e9}, {0}}, sent));
}

TEST(SweepCorrections, ExactListChangesNothingInTheFrequencySweep) {
    const SProfile p = SweepProfile(omFrequencySweep);
    const SPointLists returned{{1e9, 1.5e9, 2e9}, {-7, -7, -7.005}};
    EXPECT_TRUE(SweepCorrectionWrites(p, returned).empty());
    EXPECT_TRUE(SweepEndPointWrites(p, returned).empty());
    EXPECT_TRUE(SweepCorrectionWrites(p, {}).empty());
    EXPECT_TRUE(SweepEndPointWrites(p, {}).empty());
}

TEST(SweepCorrections, FrequencySweepTakesTheClampedLevelQuietlyAndMovedEnds) {
    const SProfile p = SweepProfile(omFrequencySweep);
    const SPointLists returned{{1e9 + 1, 1.5e9, 2e9 - 1}, {-8, -9, -7}};
    EXPECT_EQ(SweepCorrectionWrites(p, returned),
              (std::vector<SEditWrite>{
                  {eiPowCenter, -9, true}, {eiStart, 1e9 + 1, false}, {eiStop, 2e9 - 1, true}}));
}

TEST(SweepCorrections, CombinedSweepPutsTheLastDifferingLevelIntoThePowerStop) {
    const SProfile p = SweepProfile(omFrequencyPowerSweep);
    const SPointLists returned{{1e9, 1.5e9, 2e9}, {-20, 0, 15}};
    EXPECT_EQ(SweepCorrectionWrites(p, returned),
              (std::vector<SEditWrite>{{eiPowStop, 15, false}}));

    // After the corrections are stored, only the ends that still differ
    // remain: here the start level.
    SProfile corrected = p;
    StoreWrites(corrected, SweepCorrectionWrites(p, returned));
    EXPECT_DOUBLE_EQ(corrected.powparams.stop, 15);
    const SPointLists shifted{{1e9, 1.5e9, 2e9}, {-19, 0, 15}};
    EXPECT_EQ(SweepEndPointWrites(corrected, shifted),
              (std::vector<SEditWrite>{{eiPowStart, -19, false}}));
}

TEST(SweepCorrections, EndPointsOutsideTheCombinedSweepIgnoreLevels) {
    SProfile p = SweepProfile(omFrequencySweep);
    const SPointLists returned{{1e9 + 5, 2e9}, {30, 30}};
    EXPECT_EQ(SweepEndPointWrites(p, returned),
              (std::vector<SEditWrite>{{eiStart, 1e9 + 5, false}}));
}

}  // namespace
}  // namespace z5r

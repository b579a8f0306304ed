// Values sent by the handlers and the read-back tolerances.
#include "model/send_rules.h"

#include <gtest/gtest.h>

#include "core/profile_enums.h"

namespace z5r {
namespace {

TEST(SendRules, FixedFrequencyOutsideTheInstrumentIsTheMiddleOfItsRange) {
    SInstrumentLimits limits;
    limits.minFreq = 10e6;
    limits.maxFreq = 20e9;
    EXPECT_DOUBLE_EQ(FixedFrequencyToSend(5e9, limits), 5e9);
    EXPECT_DOUBLE_EQ(FixedFrequencyToSend(10e6, limits), 10e6);
    EXPECT_DOUBLE_EQ(FixedFrequencyToSend(40e9, limits), 10.005e9);
    EXPECT_DOUBLE_EQ(FixedFrequencyToSend(1e6, limits), 10.005e9);
}

TEST(SendRules, LogarithmicFrequencySweepIsSentAsMode4) {
    EXPECT_EQ(SweepModeToSend(omFrequencySweep, stLog), 4);
    EXPECT_EQ(SweepModeToSend(omFrequencySweep, stLinear), omFrequencySweep);
    EXPECT_EQ(SweepModeToSend(omPowerSweep, stLog), omPowerSweep);
    EXPECT_EQ(SweepModeToSend(omFrequencyPowerSweep, stLog), omFrequencyPowerSweep);
}

TEST(SendRules, PhaseIsTruncatedTowardZero) {
    EXPECT_EQ(PhaseToSend(45.9), 45);
    EXPECT_EQ(PhaseToSend(-45.9), -45);
    EXPECT_EQ(PhaseToSend(1e12), 2147483647);
}

TEST(SendRules, ReadBackTolerances) {
    EXPECT_FALSE(DwellReadBackDiffers(0.01, 0.0100000001));
    EXPECT_TRUE(DwellReadBackDiffers(0.01, 0.010000002));
    EXPECT_FALSE(LevelReadBackDiffers(-10, -10.009));
    EXPECT_TRUE(LevelReadBackDiffers(-10, -10.02));
}

TEST(SendRules, ExternalReferenceFrequencyFromTheItemText) {
    EXPECT_DOUBLE_EQ(ExtRefFrequencyHz("10 МГц"), 10e6);
    EXPECT_DOUBLE_EQ(ExtRefFrequencyHz("100 MHz"), 100e6);
    EXPECT_DOUBLE_EQ(ExtRefFrequencyHz("5"), 5e6);
    EXPECT_DOUBLE_EQ(ExtRefFrequencyHz(""), 0);
    EXPECT_DOUBLE_EQ(ExtRefFrequencyHz("abc МГц"), 0);
}

TEST(SendRules, EachModeSendsItsRanges) {
    using enum EModeSend;
    EXPECT_EQ(ModeSends(omFixed), (std::vector<EModeSend>{FrequencyFixed, PowerFixed}));
    EXPECT_EQ(ModeSends(omFrequencySweep), (std::vector<EModeSend>{FrequencyRange, PowerFixed}));
    EXPECT_EQ(ModeSends(omPowerSweep), (std::vector<EModeSend>{FrequencyFixed, PowerRange}));
    EXPECT_EQ(ModeSends(omFrequencyPowerSweep), std::vector<EModeSend>{BothSweeps});
    EXPECT_EQ(ModeSends(omListSweep), std::vector<EModeSend>{ListFromSegments});
    EXPECT_TRUE(ModeSends(9).empty());
}

}  // namespace
}  // namespace z5r

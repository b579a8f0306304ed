// The settings record: file defaults, initial values, copying, captions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/control_ranges.h"
#include "core/profile.h"
#include "core/profile_enums.h"

namespace coretest {
namespace {

TEST(ProfileTest, ARecordWithoutAttributesHoldsZerosAndTheStepDefaults) {
    const z5r::SProfile p;
    EXPECT_EQ(p.controlparams.mode, 0);
    EXPECT_EQ(p.controlparams.dwell, 0.0);
    EXPECT_EQ(p.controlparams.dwellinc, 0.000001);
    EXPECT_EQ(p.controlparams.dwellincpow, -6.0);
    EXPECT_FALSE(p.controlparams.dwellinctype);
    EXPECT_EQ(p.syncparams.synctimeinc, 0.000001);
    EXPECT_EQ(p.syncparams.synctimeincpow, -6.0);
    EXPECT_EQ(p.syncparams.phaseinc, 1.0);
    EXPECT_EQ(p.syncparams.rgfreq, 0);
    EXPECT_FALSE(p.syncparams.erg);
    for (double inc : {p.freqparams.startinc, p.freqparams.stopinc, p.freqparams.centerinc, p.freqparams.spaninc})
        EXPECT_EQ(inc, 1000000.0);
    for (double pow : {p.freqparams.startincpow, p.freqparams.stopincpow, p.freqparams.centerincpow,
                       p.freqparams.spanincpow})
        EXPECT_EQ(pow, 6.0);
    EXPECT_EQ(p.freqparams.pointsinc, 1.0);
    EXPECT_EQ(p.freqparams.points, 0.0);
    for (double inc : {p.powparams.startinc, p.powparams.stopinc, p.powparams.centerinc, p.powparams.spaninc,
                       p.powparams.pointsinc, p.powparams.limitinc})
        EXPECT_EQ(inc, 1.0);
    EXPECT_EQ(p.powparams.start, 0.0);
    EXPECT_FALSE(p.powparams.allowlimit);
    EXPECT_EQ(p.pulsemodparams.tauinc, 0.000001);
    EXPECT_EQ(p.pulsemodparams.periodsingleinc, 0.000001);
    EXPECT_EQ(p.pulsemodparams.periodpacketinc, 0.000001);
    EXPECT_EQ(p.pulsemodparams.qinc, 1.0);
    EXPECT_EQ(p.pulsemodparams.tau, 0.0);
    EXPECT_TRUE(p.comment.empty());
    EXPECT_TRUE(p.packet.empty());
    EXPECT_TRUE(p.listelements.empty());
}

TEST(ProfileTest, InitialRecordHoldsTheControlsStartingValues) {
    const z5r::SProfile p = z5r::MakeInitialProfile();
    EXPECT_EQ(p.syncparams.rgfreq, z5r::rf10MHz);
    EXPECT_EQ(p.controlparams.dwell, 4.0);
    EXPECT_EQ(p.syncparams.synctime, 0.000255);
    EXPECT_EQ(p.freqparams.points, 501.0);
    EXPECT_EQ(p.powparams.points, 501.0);
    EXPECT_EQ(p.powparams.start, -130.0);
    EXPECT_EQ(p.powparams.fix, -130.0);
    EXPECT_EQ(p.powparams.stop, 0.0);
    EXPECT_EQ(p.pulsemodparams.tau, 0.000004);
    EXPECT_EQ(p.pulsemodparams.periodsingle, 0.000004);
    EXPECT_EQ(p.pulsemodparams.periodpacket, 0.000004);
    EXPECT_EQ(p.pulsemodparams.q, 1.0);
    EXPECT_EQ(p.controlparams.dwellinc, z5r::SProfile{}.controlparams.dwellinc);
    // Every initial value lies inside its control's range.
    EXPECT_GE(p.controlparams.dwell, z5r::ranges::kDwell.minimum);
    EXPECT_LE(p.controlparams.dwell, z5r::ranges::kDwell.maximum);
    EXPECT_LE(p.syncparams.synctime, z5r::ranges::kSyncTime.maximum);
    EXPECT_GE(p.pulsemodparams.periodsingle, z5r::ranges::kPulsePeriod.minimum);
    EXPECT_GE(p.powparams.start, z5r::ranges::kPower.minimum);
}

TEST(ProfileTest, ACopyOwnsItsCommentPacketAndList) {
    z5r::SProfile source;
    source.comment = "исходный";
    source.packet.push_back(z5r::SPulse{});
    source.listelements.push_back(z5r::SListPoint{});
    z5r::SProfile copy = source;
    EXPECT_EQ(copy, source);
    copy.comment = "копия";
    copy.packet[0].tau = 5e-6;
    copy.packet.push_back(z5r::SPulse{});
    copy.listelements[0].points = 3;
    EXPECT_EQ(source.comment, "исходный");
    EXPECT_EQ(source.packet.size(), 1u);
    EXPECT_EQ(source.packet[0].tau, 1e-6);
    EXPECT_EQ(source.listelements[0].points, 501);
}

TEST(ProfileTest, NewSegmentsAndPulsesStartFromTheirDefaults) {
    const z5r::SListPoint segment;
    EXPECT_EQ(segment.points, 501);
    EXPECT_EQ(segment.startfreq, 10000000.0);
    EXPECT_EQ(segment.stopfreq, 20000000000.0);
    EXPECT_EQ(segment.linfreq, 1);
    EXPECT_EQ(segment.used, 1);
    EXPECT_EQ(segment.startpow, 0.0);
    const z5r::SPulse pulse;
    EXPECT_EQ(pulse.tau, 1e-6);
    EXPECT_EQ(pulse.period, 1e-5);
    EXPECT_EQ(pulse.q, 10.0);
    EXPECT_TRUE(pulse.used);
}

TEST(ProfileTest, StepExponentsTruncateTowardZero) {
    EXPECT_EQ(z5r::StepExponent(-6.7), -6);
    EXPECT_EQ(z5r::StepExponent(6.9), 6);
    EXPECT_EQ(z5r::StepExponent(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(z5r::StepExponent(std::nan("")), 0);
}

TEST(ProfileTest, CaptionsFollowTheItemIndex) {
    EXPECT_EQ(z5r::ItemCaption(z5r::kOperatingModeItems, z5r::omListSweep), "Сканирование по списку");
    EXPECT_EQ(z5r::ItemCaption(z5r::kSyncOutModeItems, z5r::soSyncInRepeat), "Транслировать синхровход");
    EXPECT_EQ(z5r::ItemCaption(z5r::kRefFrequencyItems, z5r::rf100MHz), "100 МГц");
    EXPECT_EQ(z5r::ItemCaption(z5r::kPulseModeItems, z5r::pmExternal), "Внешний источник модуляции");
    EXPECT_EQ(z5r::ItemCaption(z5r::kAttStrategyItems, 4), "");
    EXPECT_EQ(z5r::ItemCaption(z5r::kTriggerModeItems, -1), "");
}

}  // namespace
}  // namespace coretest

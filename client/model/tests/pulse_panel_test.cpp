// The pulse panel's decisions: what a chosen pulse mode leads to, which group
// boxes are usable, and the question outside the fixed mode.
#include "model/pulse_panel.h"

#include <gtest/gtest.h>

#include "core/profile_enums.h"

namespace z5r {
namespace {

TEST(PulsePanel, AChosenPulseModeLeadsToItsStep) {
    struct SCase {
        int pulseMode;
        int operatingMode;
        bool packetEmpty;
        EPulseModeStep step;
    };
    const SCase cases[] = {
        {pmNone, omFixed, true, EPulseModeStep::Stop},
        {pmNone, omFrequencySweep, false, EPulseModeStep::Stop},
        {pmPeriodic, omFixed, true, EPulseModeStep::ConfirmPeriodic},
        {pmPeriodic, omFrequencySweep, true, EPulseModeStep::AskForFixedMode},
        {pmPacket, omListSweep, false, EPulseModeStep::AskForFixedMode},
        {pmExternal, omPowerSweep, true, EPulseModeStep::AskForFixedMode},
        {pmPacket, omFixed, false, EPulseModeStep::ConfirmPacket},
        {pmPacket, omFixed, true, EPulseModeStep::ReportNoPacket},
        {pmExternal, omFixed, true, EPulseModeStep::ExternalSource},
        {7, omFixed, true, EPulseModeStep::Stop},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(PulseModeStep(c.pulseMode, c.operatingMode, c.packetEmpty), c.step)
            << "pulse mode " << c.pulseMode << ", operating mode " << c.operatingMode;
    }
}

TEST(PulsePanel, EachGroupBoxIsUsableInItsOwnModeWhileTheControlsAreOn) {
    struct SCase {
        int pulseMode;
        bool controlsOff;
        SPulseGroups groups;
    };
    const SCase cases[] = {
        {pmNone, false, {false, false}},   {pmPeriodic, false, {true, false}},
        {pmPacket, false, {false, true}},  {pmExternal, false, {false, false}},
        {pmPeriodic, true, {false, false}}, {pmPacket, true, {false, false}},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(PulseGroupsEnabled(c.pulseMode, c.controlsOff), c.groups) << "pulse mode " << c.pulseMode;
    }
}

TEST(PulsePanel, TheQuestionNamesTheFixedModeInQuotesAndAsksOnASecondLine) {
    EXPECT_EQ(FixedModeQuestion(),
              "Импульсная модуляция поддерживается только в режиме работы \"Фиксированная частота и мощность\"! \r\n "
              "Включить этот режим?");
}

}  // namespace
}  // namespace z5r

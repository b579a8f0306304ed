// The periodic pulse bounds and couplings, and whether a packet fits its period.
#include "model/pulse_rules.h"

#include <gtest/gtest.h>

#include <limits>

#include "pulse_test_support.h"

namespace z5r {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using pulsetest::ExpectValues;
using pulsetest::us;

struct SCouplingCase {
    const char* what;
    EPulseEdit edit;
    SPulseValues before;
    SPulseValues after;
};

TEST(PeriodicPulseTest, TypingCouplesTheDutyFactorAndThePeriod) {
    const SCouplingCase cases[] = {
        {"period makes the duty factor", EPulseEdit::Period, {1 * us, 4 * us, 1}, {1 * us, 4 * us, 4}},
        {"duration makes the duty factor", EPulseEdit::Duration, {2 * us, 4 * us, 1}, {2 * us, 4 * us, 2}},
        {"equal times give 1", EPulseEdit::Period, {1 * us, 1 * us, 3}, {1 * us, 1 * us, 1}},
        {"a period shorter than the duration", EPulseEdit::Period, {1 * us, 0.5 * us, 3}, {1 * us, 0.5 * us, kNaN}},
        {"a duration of 0 changes nothing", EPulseEdit::Duration, {0, 4 * us, 3}, {0, 4 * us, 3}},
        {"the duty factor makes the period", EPulseEdit::DutyFactor, {2 * us, 1 * us, 5}, {2 * us, 10 * us, 5}},
        {"a duty factor below 1", EPulseEdit::DutyFactor, {2 * us, 1 * us, 0.5}, {2 * us, kNaN, 0.5}},
    };
    for (const SCouplingCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectValues(PeriodicPulseTyped(c.edit, c.before), c.after);
    }
}

TEST(PeriodicPulseTest, ConfirmingKeepsTheShortestDurationPeriodAndPause) {
    const SCouplingCase cases[] = {
        {"a pause of 20 ns is added", EPulseEdit::Duration, {1 * us, 1 * us, 1}, {1 * us, 1.02 * us, 1.02}},
        {"valid values stay", EPulseEdit::Period, {1 * us, 4 * us, 1}, {1 * us, 4 * us, 4}},
        {"the shortest duration", EPulseEdit::Duration, {5e-9, 1 * us, 1}, {2e-8, 1 * us, 50}},
        {"the shortest period and pause", EPulseEdit::Period, {2e-8, 1e-8, 1}, {2e-8, 4e-8, 2}},
        {"a period of 0 is raised", EPulseEdit::Period, {3e-8, 0, 1}, {3e-8, 5e-8, 5.0 / 3.0}},
        {"a duration of 0 changes nothing", EPulseEdit::Duration, {0, 1e-9, 7}, {0, 1e-9, 7}},
        {"a duty factor of 1", EPulseEdit::DutyFactor, {1 * us, 3 * us, 1}, {1 * us, 1.02 * us, 1.02}},
        {"a duty factor below 1", EPulseEdit::DutyFactor, {1 * us, 3 * us, 0.2}, {1 * us, 1.02 * us, 1.02}},
        {"a duty factor makes the period", EPulseEdit::DutyFactor, {1 * us, 3 * us, 8}, {1 * us, 8 * us, 8}},
    };
    for (const SCouplingCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectValues(PeriodicPulseConfirmed(c.edit, c.before), c.after);
    }
}

SPulse Pulse(double period, bool used) { return SPulse{0.5 * us, period, period / (0.5 * us), used}; }

TEST(PacketPeriodTest, OnlyTickedPulsesCountAndTheToleranceIsATenthOfANanosecond) {
    const std::vector<SPulse> packet{Pulse(1 * us, true), Pulse(2 * us, true), Pulse(3 * us, true),
                                     Pulse(50 * us, false)};
    EXPECT_NEAR(TotalPacketDuration(packet), 6 * us, 1e-18);

    struct SCase {
        double period;
        EPacketPeriodVerdict verdict;
    };
    const SCase cases[] = {
        {6 * us, EPacketPeriodVerdict::Send},
        {5.99995 * us, EPacketPeriodVerdict::Send},
        {5.9998 * us, EPacketPeriodVerdict::TooShort},
        {100 * us, EPacketPeriodVerdict::Send},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(JudgePacketPeriod(c.period, packet), c.verdict);
    }
    EXPECT_EQ(JudgePacketPeriod(1 * us, {}), EPacketPeriodVerdict::NoPacket);
    // Unticking the longest pulse makes the short period fit.
    std::vector<SPulse> unticked = packet;
    unticked[2].used = false;
    EXPECT_EQ(JudgePacketPeriod(5.9998 * us, unticked), EPacketPeriodVerdict::Send);
}

}  // namespace
}  // namespace z5r

// The packet editor's pulse edits: coupling while typing, rounding and bounds
// on confirmation.
#include "model/packet_pulse_edits.h"

#include <gtest/gtest.h>

#include <limits>

#include "pulse_test_support.h"

namespace z5r {
namespace {

using pulsetest::ExpectValues;
using pulsetest::us;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMinPulse = 2e-8;

TEST(PacketPulseEditsTest, TypingJudgesTheCombination) {
    struct SCase {
        const char* what;
        EPulseEdit edit;
        SPulseValues before;
        SPulseValues after;
        std::optional<bool> invalid;
    };
    const SCase cases[] = {
        {"a longer period", EPulseEdit::Period, {1 * us, 5 * us, 1}, {1 * us, 5 * us, 5}, false},
        {"a period equal to the duration", EPulseEdit::Period, {1 * us, 1 * us, 5}, {1 * us, 1 * us, kNaN}, true},
        {"a longer duration", EPulseEdit::Duration, {6 * us, 5 * us, 1}, {6 * us, 5 * us, kNaN}, true},
        {"a blank duration", EPulseEdit::Duration, {kNaN, 5 * us, 2}, {kNaN, 5 * us, kNaN}, true},
        {"a duration of 0 is not judged", EPulseEdit::Duration, {0, 5 * us, 2}, {0, 5 * us, 2}, std::nullopt},
        {"a duty factor of 1", EPulseEdit::DutyFactor, {2 * us, 7 * us, 1}, {2 * us, 2 * us, 1}, false},
        {"a duty factor below 1", EPulseEdit::DutyFactor, {2 * us, 7 * us, 0.9}, {2 * us, kNaN, 0.9}, true},
        {"a blank duty factor", EPulseEdit::DutyFactor, {2 * us, 7 * us, kNaN}, {2 * us, kNaN, kNaN}, true},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SPulseTyping typing = PacketPulseTyped(c.edit, c.before);
        ExpectValues(typing.values, c.after);
        EXPECT_EQ(typing.invalid, c.invalid);
    }
}

TEST(PacketPulseEditsTest, ConfirmingRoundsToTenNanosecondsAndRaisesToTheShortestPulse) {
    struct SCase {
        const char* what;
        EPulseEdit edit;
        SPulseValues typed;
        SPulseValues confirmed;
    };
    const SCase cases[] = {
        {"a period shorter than the duration", EPulseEdit::Duration, {1 * us, 0.5 * us, 3}, {1 * us, 1 * us, 1}},
        {"a period equal to the duration stays", EPulseEdit::Period, {1 * us, 1 * us, kNaN}, {1 * us, 1 * us, 1}},
        {"rounded to 10 ns", EPulseEdit::Period, {1.004 * us, 2.0051 * us, 2}, {1 * us, 2.01 * us, 2.01}},
        {"the shortest duration", EPulseEdit::Duration, {1e-8, 1 * us, 1}, {kMinPulse, 1 * us, 50}},
        {"a duration that rounds to 0", EPulseEdit::Duration, {4e-9, 1 * us, 1}, {kMinPulse, 1 * us, 50}},
        {"twice the shortest period", EPulseEdit::Period, {2e-8, 1e-8, 1}, {2e-8, 4e-8, 2}},
        {"a blank period is replaced", EPulseEdit::Duration, {3 * us, kNaN, 1}, {3 * us, 3 * us, 1}},
        {"a duration of 0 only rounds", EPulseEdit::Duration, {0, 1.234 * us, 5}, {0, 1.23 * us, 5}},
        {"a duty factor of 1", EPulseEdit::DutyFactor, {1 * us, 4 * us, 1}, {1 * us, 1.02 * us, 1.02}},
        {"a duty factor makes the period", EPulseEdit::DutyFactor, {1 * us, 4 * us, 3}, {1 * us, 3 * us, 3}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectValues(PacketPulseConfirmed(c.edit, c.typed, kMinPulse), c.confirmed);
    }
}

TEST(PacketPulseEditsTest, APulseNeedsNumbersAndADuration) {
    EXPECT_TRUE(IsPulseMakeable({1 * us, 2 * us, 2}));
    EXPECT_FALSE(IsPulseMakeable({kNaN, 2 * us, 2}));
    EXPECT_FALSE(IsPulseMakeable({1 * us, kNaN, 2}));
    EXPECT_FALSE(IsPulseMakeable({1 * us, 2 * us, kNaN}));
    EXPECT_FALSE(IsPulseMakeable({0, 2 * us, 2}));
}

}  // namespace
}  // namespace z5r

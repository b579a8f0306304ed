// The fourteen lines of the parameter summary and their number texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/profile_enums.h"
#include "model/number_text.h"
#include "model/parameter_summary.h"

namespace z5r {
namespace {

SSummaryState Shown() {
    SSummaryState s;
    s.connected = true;
    s.settingsLocked = false;
    s.runModeEnabled = true;
    s.dwellEnabled = true;
    s.attStrategyEnabled = true;
    s.rgFreqEnabled = true;
    s.dwell = {0.01, std::nullopt};
    s.powLimit = {5, std::nullopt};
    s.syncTime = {255e-6, std::nullopt};
    return s;
}

SProfile LinearSweep(double start, double stop, double points) {
    SProfile p;
    p.controlparams.mode = omFrequencySweep;
    p.freqparams.start = start;
    p.freqparams.stop = stop;
    p.freqparams.points = points;
    return p;
}

TEST(NumberText, DecimalsWithoutTrailingZeros) {
    EXPECT_EQ(FormatDecimal(100000000, 3), "100000000");
    EXPECT_EQ(FormatDecimal(0.001, 3), "0.001");
    EXPECT_EQ(FormatDecimal(2.5, 3), "2.5");
    EXPECT_EQ(FormatDecimal(1.23456, 3), "1.235");
    EXPECT_EQ(FormatDecimal(-0.0001, 3), "0");
    EXPECT_EQ(FormatDecimal(-12.1, 0), "-12");
    EXPECT_EQ(FormatDecimal(std::numeric_limits<double>::quiet_NaN(), 3), "nan");
    EXPECT_EQ(FormatDecimal(-std::numeric_limits<double>::infinity(), 3), "-inf");
}

TEST(NumberText, GroupsOfThreeDigitsInTheIntegerPart) {
    EXPECT_EQ(GroupThousands("100000000"), "100 000 000");
    EXPECT_EQ(GroupThousands("-1234567.0015"), "-1 234 567.0015");
    EXPECT_EQ(GroupThousands("999"), "999");
    EXPECT_EQ(GroupThousands("1000"), "1 000");
    EXPECT_EQ(GroupThousands("+12345"), "+12 345");
    EXPECT_EQ(GroupThousands("nan"), "nan");
    EXPECT_EQ(GroupThousands(""), "");
}

TEST(Summary, FrequencyStepGroupedWithUnit) {
    EXPECT_EQ(SummaryValue(slFrequencyStep, LinearSweep(1e9, 2e9, 11), Shown()), "100 000 000 Гц");
}

TEST(Summary, TruncatedZeroStepShowsTheSmallestStepWithTheSpansSign) {
    EXPECT_EQ(SummaryValue(slFrequencyStep, LinearSweep(1e9, 1.000000005e9, 11), Shown()), "0.001 Гц");
    EXPECT_EQ(SummaryValue(slFrequencyStep, LinearSweep(1.000000005e9, 1e9, 11), Shown()), "-0.001 Гц");
    EXPECT_EQ(SummaryValue(slFrequencyStep, LinearSweep(1e9, 1e9, 11), Shown()), "0 Гц");
    // One point counts as one interval; the step is truncated toward zero.
    EXPECT_EQ(SummaryValue(slFrequencyStep, LinearSweep(1e9, 2e9, 1), Shown()), "1 000 000 000 Гц");
    EXPECT_EQ(SummaryValue(slFrequencyStep, LinearSweep(0, 10, 4), Shown()), "3 Гц");
}

TEST(Summary, StepLinesDependOnModeAndSweepType) {
    SProfile p = LinearSweep(1e9, 2e9, 11);
    p.powparams.start = -10;
    p.powparams.stop = 10;
    p.powparams.points = 5;
    EXPECT_EQ(SummaryValue(slPowerStep, p, Shown()), "---");
    p.freqparams.mode = stLog;
    EXPECT_EQ(SummaryValue(slFrequencyStep, p, Shown()), "---");
    p.controlparams.mode = omFrequencyPowerSweep;  // the frequency points serve the power too
    EXPECT_EQ(SummaryValue(slFrequencyStep, p, Shown()), "---");
    EXPECT_EQ(SummaryValue(slPowerStep, p, Shown()), "2 дБ");
    p.freqparams.mode = stLinear;
    EXPECT_EQ(SummaryValue(slFrequencyStep, p, Shown()), "100 000 000 Гц");
    p.controlparams.mode = omPowerSweep;
    EXPECT_EQ(SummaryValue(slFrequencyStep, p, Shown()), "---");
    EXPECT_EQ(SummaryValue(slPowerStep, p, Shown()), "5 дБ");
    // Only a step of exactly 0 shows as the smallest one; a small step is 0 at
    // three decimals.
    p.powparams.stop = -9.9999;
    EXPECT_EQ(SummaryValue(slPowerStep, p, Shown()), "0 дБ");
}

TEST(Summary, PointsLineByMode) {
    SProfile p;
    p.freqparams.points = 501;
    p.powparams.points = 21;
    const std::pair<int, const char*> rows[] = {{omFixed, "---"},
                                                {omFrequencySweep, "501"},
                                                {omPowerSweep, "21"},
                                                {omFrequencyPowerSweep, "501"},
                                                {omListSweep, "501"}};
    for (const auto& [mode, text] : rows) {
        p.controlparams.mode = mode;
        EXPECT_EQ(SummaryValue(slPoints, p, Shown()), text) << mode;
    }
}

TEST(Summary, AllLinesOfASweep) {
    SProfile p = LinearSweep(1e9, 2e9, 11);
    p.controlparams.runmode = rmNextPoint;
    p.powparams.strategy = asBalanced;
    p.powparams.allowlimit = true;
    p.syncparams.syncmode = soLock;
    p.syncparams.syncin = true;
    p.syncparams.epc = true;
    p.syncparams.rgfreq = rf10MHz;
    const auto values = SummaryValues(p, Shown());
    const std::array<std::string, kSummaryLineCount> expected = {
        "11",       "100 000 000 Гц",
        "---",      "Следующая точка",
        "10 мс",    "Сбалансированный режим",
        "5 дБм",    "Захват ФАПЧ/АРМ",
        "Включен",  "Отключен",
        "255 мкс",  "Включен",
        "Отключен", "---",
    };
    EXPECT_EQ(values, expected);
}

TEST(Summary, ControlStatesAndFlagsDecideSingleLines) {
    SProfile p = LinearSweep(1e9, 2e9, 11);
    p.syncparams.erg = true;
    p.syncparams.rgfreq = rf10MHz;
    SSummaryState s = Shown();
    s.runModeEnabled = false;
    s.dwellEnabled = false;
    s.attStrategyEnabled = false;
    s.rgFreqEnabled = false;  // the external reference is in use
    EXPECT_EQ(SummaryValue(slRunMoment, p, s), "---");
    EXPECT_EQ(SummaryValue(slDwell, p, s), "---");
    EXPECT_EQ(SummaryValue(slAttStrategy, p, s), "---");
    EXPECT_EQ(SummaryValue(slPowerLimit, p, s), "Не задано");
    EXPECT_EQ(SummaryValue(slExtRef, p, s), "Включен");
    EXPECT_EQ(SummaryValue(slExtRefFrequency, p, s), "10 МГц");
    p.syncparams.syncmode = 9;  // an index the combo box does not have
    EXPECT_EQ(SummaryValue(slSyncOut, p, s), "---");
}

TEST(Summary, EditsShowTheirNumberInTheUnitPickedOrByMagnitude) {
    const SProfile p = LinearSweep(1e9, 2e9, 11);
    struct SCase {
        SShownNumber dwell;
        const char* text;
    };
    const SCase cases[] = {
        {{0.01, std::nullopt}, "10 мс"},
        {{0.01, 0}, "0.01 с"},
        {{0.0125, -6}, "12500 мкс"},
        {{1.5, std::nullopt}, "1.5 с"},
    };
    for (const SCase& c : cases) {
        SSummaryState s = Shown();
        s.dwell = c.dwell;
        EXPECT_EQ(SummaryValue(slDwell, p, s), c.text);
    }
}

TEST(Summary, DisconnectedOrLockedShowsNothingAnywhere) {
    const SProfile p = LinearSweep(1e9, 2e9, 11);
    SSummaryState s = Shown();
    s.connected = false;
    for (const std::string& value : SummaryValues(p, s)) EXPECT_EQ(value, "---");
    s = Shown();
    s.settingsLocked = true;
    for (const std::string& value : SummaryValues(p, s)) EXPECT_EQ(value, "---");
    EXPECT_EQ(SummaryValue(static_cast<ESummaryLine>(-1), p, Shown()), "---");
    EXPECT_EQ(SummaryValue(static_cast<ESummaryLine>(kSummaryLineCount), p, Shown()), "---");
}

}  // namespace
}  // namespace z5r

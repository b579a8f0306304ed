// The segment editor's rules: what an opening shows, how the edits of a range
// follow an entry, and what comes back on OK.
#include "model/segment_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace z5r {
namespace {

constexpr double GHz = 1e9;

SListPoint Segment(double f0, double f1, double p0, double p1, int points = 501,
                   int linfreq = 1) {
    return SListPoint{points, f0, f1, linfreq, 1, p0, p1};
}

using SStep = std::function<void(CSegmentEditor&)>;

SStep Type(int edit, double value) {
    return [=](CSegmentEditor& editor) { editor.Change(edit, value); };
}
// An entry typed and confirmed.
SStep Enter(int edit, double value) {
    return [=](CSegmentEditor& editor) {
        editor.Change(edit, value);
        editor.Validate();
    };
}
SStep FreqMode(EValueMode mode) {
    return [=](CSegmentEditor& editor) { editor.FreqValClick(mode); };
}
SStep PowMode(EValueMode mode) {
    return [=](CSegmentEditor& editor) { editor.PowValClick(mode); };
}

// An editor after opening `opened` and taking the steps.
void Open(CSegmentEditor& editor, const SListPoint& opened, const std::vector<SStep>& steps) {
    editor.Load(opened);
    for (const SStep& step : steps) step(editor);
}

struct SEditorCase {
    const char* name;
    SListPoint opened;
    std::vector<SStep> steps;
    std::map<int, double> shown;  // edits and the values they show afterwards
};

class EditorTable : public ::testing::TestWithParam<SEditorCase> {};

TEST_P(EditorTable, EditsFollowTheEntries) {
    const SEditorCase& c = GetParam();
    CSegmentEditor editor;
    Open(editor, c.opened, c.steps);
    for (const auto& [edit, value] : c.shown) EXPECT_DOUBLE_EQ(editor.Value(edit), value) << edit;
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditorTable,
    ::testing::Values(
        SEditorCase{"DefaultSegmentOpens", SListPoint{}, {},
                    {{seFreqStart, 10e6}, {seFreqStop, 20 * GHz}, {seFreqCenter, 10005e6},
                     {seFreqSpan, 19990e6}, {sePoints, 501}, {sePowCenter, 0}}},
        SEditorCase{"OnePointCollapsesTheRange", Segment(1 * GHz, 3 * GHz, 0, 0),
                    {Type(sePoints, 1)},
                    {{seFreqStart, 1 * GHz}, {seFreqStop, 1 * GHz}, {seFreqCenter, 1 * GHz},
                     {seFreqSpan, 0}}},
        SEditorCase{"MorePointsRestoreTheRange", Segment(1 * GHz, 3 * GHz, 0, 0),
                    {Type(sePoints, 1), Type(sePoints, 501)},
                    {{seFreqStart, 1 * GHz}, {seFreqStop, 3 * GHz}, {seFreqCenter, 2 * GHz},
                     {seFreqSpan, 2 * GHz}}},
        SEditorCase{"StopMovesCentreAndSpan", Segment(1 * GHz, 3 * GHz, 0, 0),
                    {Type(seFreqStop, 5 * GHz)},
                    {{seFreqCenter, 3 * GHz}, {seFreqSpan, 4 * GHz}}},
        SEditorCase{"CentreAboveTheBoundIsTheBound", Segment(1 * GHz, 3 * GHz, 0, 0),
                    {Type(seFreqCenter, 12 * GHz)},
                    {{seFreqStart, 11 * GHz}, {seFreqStop, 11 * GHz}, {seFreqSpan, 0}}},
        SEditorCase{"CentreNearTheBoundNarrowsTheSpan", Segment(4 * GHz, 8 * GHz, 0, 0),
                    {Type(seFreqCenter, 10 * GHz)},
                    {{seFreqStart, 9 * GHz}, {seFreqStop, 11 * GHz}, {seFreqSpan, 2 * GHz}}},
        SEditorCase{"CentreKeepsTheConfirmedSpan", Segment(4 * GHz, 8 * GHz, 0, 0),
                    {Type(seFreqCenter, 5 * GHz), Type(seFreqCenter, 7 * GHz)},
                    {{seFreqStart, 5 * GHz}, {seFreqStop, 9 * GHz}, {seFreqSpan, 4 * GHz}}},
        SEditorCase{"SpanMovesTheCentreOffTheBound", Segment(1 * GHz, 3 * GHz, 0, 0),
                    {Type(seFreqSpan, 6 * GHz)},
                    {{seFreqStart, 0}, {seFreqStop, 6 * GHz}, {seFreqCenter, 3 * GHz}}},
        SEditorCase{"SpanAroundTheCentre", Segment(4 * GHz, 6 * GHz, 0, 0),
                    {Type(seFreqSpan, 4 * GHz)},
                    {{seFreqStart, 3 * GHz}, {seFreqStop, 7 * GHz}, {seFreqCenter, 5 * GHz}}},
        SEditorCase{"DownwardRangeStaysDownward", Segment(3 * GHz, 1 * GHz, 0, 0),
                    {Type(seFreqCenter, 5 * GHz)},
                    {{seFreqStart, 6 * GHz}, {seFreqStop, 4 * GHz}, {seFreqSpan, 2 * GHz}}},
        SEditorCase{"LevelStartMovesCentreAndSpan", Segment(1 * GHz, 1 * GHz, -20, 0),
                    {Type(sePowStart, -30)},
                    {{sePowCenter, -15}, {sePowSpan, 30}, {seFreqCenter, 1 * GHz}}},
        SEditorCase{"LevelCentreBelowTheBoundIsTheBound", Segment(1 * GHz, 1 * GHz, -20, 0),
                    {Type(sePowCenter, -120)},
                    {{sePowStart, -100}, {sePowStop, -100}, {sePowSpan, 0}}},
        SEditorCase{"LevelNearTheTopBound", Segment(1 * GHz, 1 * GHz, -20, 0),
                    {Type(sePowCenter, 15)},
                    {{sePowStart, 10}, {sePowStop, 20}, {sePowSpan, 10}}},
        SEditorCase{"OnePointLevelStopIsTheCentre", Segment(1 * GHz, 1 * GHz, -20, 0),
                    {Enter(sePoints, 1), Type(sePowStop, 5)},
                    {{sePowCenter, 5}, {sePowSpan, 0}}},
        SEditorCase{"OnePointCentreSetsTheSpanToZero", Segment(1 * GHz, 1 * GHz, -20, 0),
                    {Enter(sePoints, 1), Type(sePowSpan, 8)},
                    {{sePowSpan, 0}, {sePowStart, -10}, {sePowStop, -10}}},
        SEditorCase{"PointsLeaveAFixedFrequency", Segment(2 * GHz, 2 * GHz, 0, 0),
                    {Type(sePoints, 1), Type(sePoints, 11)}, {{seFreqCenter, 2 * GHz}}},
        SEditorCase{"RangeAgainAfterFixed", Segment(1 * GHz, 3 * GHz, -20, 0),
                    {FreqMode(EValueMode::Fixed), Enter(seFreqCenter, 4 * GHz),
                     FreqMode(EValueMode::Range)},
                    {{seFreqStart, 3 * GHz}, {seFreqStop, 5 * GHz}, {seFreqSpan, 2 * GHz}}},
        SEditorCase{"LevelRangeFromItsOwnStartAndStop", Segment(1 * GHz, 1 * GHz, -20, 0),
                    {PowMode(EValueMode::Fixed), Enter(sePowCenter, 7),
                     PowMode(EValueMode::Range)},
                    {{sePowCenter, -10}, {sePowSpan, 20}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SResultCase {
    const char* name;
    SListPoint opened;
    std::vector<SStep> steps;
    SListPoint result;
};

class EditorResultTable : public ::testing::TestWithParam<SResultCase> {};

TEST_P(EditorResultTable, GivesBackTheSegment) {
    const SResultCase& c = GetParam();
    CSegmentEditor editor;
    Open(editor, c.opened, c.steps);
    EXPECT_EQ(editor.Result(c.opened), c.result);
}

SListPoint Unticked(SListPoint segment) {
    segment.used = 0;
    return segment;
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditorResultTable,
    ::testing::Values(
        SResultCase{"UnchangedDefault", SListPoint{}, {}, SListPoint{}},
        SResultCase{"FixedFrequencyIsNotLinear", Segment(2 * GHz, 2 * GHz, -5, -5, 1),
                    {}, Segment(2 * GHz, 2 * GHz, -5, -5, 1, 0)},
        SResultCase{"LogarithmicRange", Segment(1e6, 1 * GHz, -5, 5, 3, 0), {},
                    Segment(1e6, 1 * GHz, -5, 5, 3, 0)},
        SResultCase{"UsedIsKept", Unticked(SListPoint{}), {}, Unticked(SListPoint{})},
        SResultCase{"FixedModesTakeTheCentres", Segment(1 * GHz, 3 * GHz, -20, 0),
                    {FreqMode(EValueMode::Fixed), PowMode(EValueMode::Fixed),
                     Enter(seFreqCenter, 4 * GHz), Enter(sePowCenter, -3)},
                    Segment(4 * GHz, 4 * GHz, -3, -3, 501, 0)},
        SResultCase{"PointsTruncated", SListPoint{}, {Enter(sePoints, 7.9)},
                    Segment(10e6, 20 * GHz, 0, 0, 7)},
        SResultCase{"BlankPointsAreNone", SListPoint{}, {Type(sePoints, std::nan(""))},
                    Segment(10e6, 20 * GHz, 0, 0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SegmentEditor, OpeningShowsTheModes) {
    struct SModeCase {
        SListPoint opened;
        EValueMode freq;
        EValueMode pow;
        ESpacing spacing;
    };
    const std::vector<SModeCase> table = {
        {SListPoint{}, EValueMode::Range, EValueMode::Fixed, ESpacing::Linear},
        {Segment(1 * GHz, 1 * GHz, -3, 4, 11, 1), EValueMode::Fixed, EValueMode::Range,
         ESpacing::Linear},
        {Segment(1 * GHz, 2 * GHz, 0, 0, 11, 2), EValueMode::Range, EValueMode::Fixed,
         ESpacing::Log},
    };
    CSegmentEditor editor;
    for (const SModeCase& c : table) {
        editor.Load(c.opened);
        EXPECT_EQ(editor.FreqMode(), c.freq);
        EXPECT_EQ(editor.PowMode(), c.pow);
        EXPECT_EQ(editor.Spacing(), c.spacing);
        const bool freqRange = c.freq == EValueMode::Range;
        const bool powRange = c.pow == EValueMode::Range;
        EXPECT_EQ(editor.SpacingEnabled(), freqRange);
        for (int edit : {seFreqStart, seFreqStop, seFreqSpan})
            EXPECT_EQ(editor.Enabled(edit), freqRange) << edit;
        for (int edit : {sePowStart, sePowStop, sePowSpan})
            EXPECT_EQ(editor.Enabled(edit), powRange) << edit;
        for (int edit : {seFreqCenter, sePoints, sePowCenter}) EXPECT_TRUE(editor.Enabled(edit));
    }
}

TEST(SegmentEditor, LevelRangeCarriesOverToTheNextOpening) {
    CSegmentEditor editor;
    editor.Load(Segment(1 * GHz, 1 * GHz, -20, 0));
    // Closed without OK; the next segment has a fixed level.
    editor.Load(Segment(1 * GHz, 1 * GHz, 3, 3));
    EXPECT_DOUBLE_EQ(editor.Value(sePowCenter), 3);
    editor.PowValClick(EValueMode::Range);
    EXPECT_EQ(editor.Result(SListPoint{}).startpow, -20);
    EXPECT_EQ(editor.Result(SListPoint{}).stoppow, 0);
}

TEST(SegmentEditor, LimitsOfTheEdits) {
    CSegmentEditor editor;
    EXPECT_EQ(editor.Range(sePoints).maximum, 5001);
    editor.SetLimits(SSegmentEditorLimits{15, -110, 20 * GHz, 1e5});
    const std::map<int, SControlRange> expected = {
        {seFreqStart, {1e5, 20 * GHz}}, {seFreqStop, {1e5, 20 * GHz}},
        {seFreqCenter, {1e5, 20 * GHz}}, {seFreqSpan, {0, 20 * GHz - 1e5}},
        {sePoints, {1, 100001}},        {sePowStart, {-110, 15}},
        {sePowStop, {-110, 15}},        {sePowCenter, {-110, 15}},
        {sePowSpan, {0, 125}},
    };
    for (const auto& [edit, range] : expected) {
        EXPECT_EQ(editor.Range(edit).minimum, range.minimum) << edit;
        EXPECT_EQ(editor.Range(edit).maximum, range.maximum) << edit;
    }
}

TEST(SegmentEditor, PowerLimitLowersTheHighestLevel) {
    const SInstrumentLimits limits{1e6, 40 * GHz, -120, 18, 5001};
    const std::vector<std::pair<std::optional<double>, double>> table = {
        {std::nullopt, 18}, {5.0, 5}, {25.0, 18}};
    for (const auto& [ceiling, highest] : table) {
        const SSegmentEditorLimits result = SegmentEditorLimits(limits, ceiling);
        EXPECT_EQ(result.highLevel, highest);
        EXPECT_EQ(result.lowLevel, -120);
        EXPECT_EQ(result.highFreq, 40 * GHz);
        EXPECT_EQ(result.lowFreq, 1e6);
    }
}

}  // namespace
}  // namespace z5r

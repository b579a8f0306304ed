// Expanding segments into frequency and level points.
#include "model/segment_expansion.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace z5r {
namespace {

struct SExpansionCase {
    const char* name;
    SSegmentRange segment;
    std::optional<double> ceiling;
    std::vector<double> freqs;
    std::vector<double> levels;
};

class ExpansionTable : public ::testing::TestWithParam<SExpansionCase> {};

TEST_P(ExpansionTable, GivesThePointsOfTheSegment) {
    const SExpansionCase& c = GetParam();
    SPointLists lists;
    ExpandSegment(lists, true, c.segment, c.ceiling);
    EXPECT_EQ(lists.freqs, c.freqs);
    EXPECT_EQ(lists.levels, c.levels);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpansionTable,
    ::testing::Values(
        SExpansionCase{"LinearEndsExact",
                       {false, 4, 1e9, 2e9, -10, 10},
                       std::nullopt,
                       {1e9, 1.25e9, 1.5e9, 1.75e9, 2e9},
                       {-10, -5, 0, 5, 10}},
        SExpansionCase{"Log",
                       {true, 2, 1e6, 1e9, 0, 0},
                       std::nullopt,
                       {1000000, 31622776, 1000000000},
                       {0, 0, 0}},
        SExpansionCase{
            "LogFromZero", {true, 3, 0, 1e9, 0, 0}, std::nullopt, {0, 0, 0, 1e9}, {0, 0, 0, 0}},
        SExpansionCase{"HalfHertzTruncated",
                       {false, 2, 1000000, 1000001, 0, 0},
                       std::nullopt,
                       {1000000, 1000000, 1000001},
                       {0, 0, 0}},
        SExpansionCase{
            "CeilingCapsLevels", {false, 2, 1e9, 1e9, 0, 10}, 5.0, {1e9, 1e9, 1e9}, {0, 5, 5}},
        SExpansionCase{"CeilingOffKeepsLevels",
                       {false, 2, 1e9, 1e9, 0, 10},
                       std::nullopt,
                       {1e9, 1e9, 1e9},
                       {0, 5, 10}},
        SExpansionCase{
            "OnePointIsTheStart", {false, 0, 1e9, 2e9, -3, 7}, std::nullopt, {1e9}, {-3}},
        SExpansionCase{
            "NoPointsIsOnePoint", {false, -1, 1e9, 2e9, -3, 7}, std::nullopt, {1e9}, {-3}},
        SExpansionCase{"CountNotANumberIsOnePoint",
                       {false, std::numeric_limits<double>::quiet_NaN(), 1e9, 2e9, -3, 7},
                       std::nullopt,
                       {1e9},
                       {-3}},
        SExpansionCase{"FractionalCountTakesTheNextWholeStep",
                       {false, 2.5, 0, 5, 0, 0},
                       std::nullopt,
                       {0, 2, 4, 5},
                       {0, 0, 0, 0}},
        SExpansionCase{
            "DownwardLevels", {false, 2, 3e9, 1e9, 10, 0}, 4.0, {3e9, 2e9, 1e9}, {4, 4, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Expansion, LinearFrequenciesAccumulateTheStep) {
    // 0 to 2 Hz in 12 intervals: six added steps of 1/6 Hz give
    // 0.9999999999999999, which truncates to 0; 6 * (1/6) would give 1.
    SPointLists lists;
    ExpandSegment(lists, true, {false, 12, 0, 2, 0, 0}, std::nullopt);
    ASSERT_EQ(lists.freqs.size(), 13u);
    EXPECT_EQ(lists.freqs[6], 0);
    EXPECT_EQ(lists.freqs[12], 2);
}

TEST(Expansion, ClearFalseAppends) {
    SPointLists lists{{5}, {1}};
    ExpandSegment(lists, false, {false, 1, 10, 20, 2, 3}, std::nullopt);
    EXPECT_EQ(lists.freqs, (std::vector<double>{5, 10, 20}));
    EXPECT_EQ(lists.levels, (std::vector<double>{1, 2, 3}));
}

TEST(Expansion, AbsurdPointCountStopsAtTheExpansionLimit) {
    SPointLists lists;
    ExpandSegment(lists, true, {false, 2147483646.0, 1e6, 2e9, 0, 0}, std::nullopt);
    EXPECT_EQ(lists.freqs.size(), kMaxExpandedPoints);
    EXPECT_EQ(lists.levels.size(), kMaxExpandedPoints);
}

TEST(Expansion, ListPanelTakesTickedSegmentsInOrder) {
    SListPoint a;
    a.points = 3;
    a.startfreq = 1e9;
    a.stopfreq = 2e9;
    a.startpow = -10;
    a.stoppow = -10;
    SListPoint unticked = a;
    unticked.used = 0;
    unticked.startfreq = 7e9;
    SListPoint b;
    b.points = 1;
    b.startfreq = 5e9;
    b.stopfreq = 6e9;
    b.startpow = 3;
    b.used = 2;  // any non-zero value takes part
    SListPoint log;
    log.points = 3;
    log.linfreq = 0;
    log.startfreq = 1e6;
    log.stopfreq = 1e9;

    SPointLists lists{{42}, {42}};
    ExpandSegments(lists, {a, unticked, b, log}, std::nullopt);
    EXPECT_EQ(lists.freqs,
              (std::vector<double>{1e9, 1.5e9, 2e9, 5e9, 1000000, 31622776, 1000000000}));
    EXPECT_EQ(lists.levels, (std::vector<double>{-10, -10, -10, 3, 0, 0, 0}));

    ExpandSegments(lists, {unticked}, std::nullopt);
    EXPECT_TRUE(lists.Empty());
}

}  // namespace
}  // namespace z5r

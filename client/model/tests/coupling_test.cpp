// The coupling as an operator types: a small stand-in for the window applies
// the writes the way SetEditValue does (every value reaches the record, the
// source edit keeps the text being typed, a write without `quiet` runs the
// coupling of its target).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/parameter_coupling.h"

namespace z5r {
namespace {

constexpr double kGHz = 1e9;
constexpr double kMHz = 1e6;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

class CTypedEdits {
public:
    explicit CTypedEdits(const SInstrumentLimits& limits = {}) : coupling_(limits) {
        values_.fill(0.0);
        enabled_.fill(true);
    }

    void Type(int edit, double value) {
        values_[static_cast<std::size_t>(edit)] = value;
        Changed(edit);
    }
    // The operator confirms a frequency or power entry.
    void Confirm(int edit) { coupling_.RememberAccepted(edit, values_, enabled_); }

    double operator[](int edit) const { return values_[static_cast<std::size_t>(edit)]; }
    // The value last written for an edit, also when the edit itself kept
    // its text.
    double Stored(int edit) const { return stored_[static_cast<std::size_t>(edit)]; }
    CParameterCoupling& Coupling() { return coupling_; }

private:
    void Changed(int source) {
        for (const SEditWrite& write : coupling_.OnEditChange(source, values_)) {
            stored_[static_cast<std::size_t>(write.edit)] = write.value;
            if (write.edit == source) continue;
            values_[static_cast<std::size_t>(write.edit)] = write.value;
            if (!write.quiet) Changed(write.edit);
        }
    }

    CParameterCoupling coupling_;
    EditValues values_{};
    EditValues stored_{};
    EditFlags enabled_{};
};

TEST(Coupling, StartAndStopGiveCentreAndNonNegativeSpan) {
    CTypedEdits e;
    e.Type(eiStart, 1 * kGHz);
    e.Type(eiStop, 2 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiCenter], 1.5 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiSpan], 1 * kGHz);
    e.Type(eiStop, 0.5 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiCenter], 0.75 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiSpan], 0.5 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiStart], 1 * kGHz);
}

TEST(Coupling, SpanOfADownwardSweepKeepsCentreAndDirection) {
    CTypedEdits e;
    e.Type(eiStart, 2 * kGHz);
    e.Type(eiStop, 1 * kGHz);
    e.Confirm(eiStop);
    e.Type(eiSpan, 0.4 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiStart], 1.7 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiStop], 1.3 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiCenter], 1.5 * kGHz);
    EXPECT_DOUBLE_EQ(e.Coupling().Memory().savedStop[0], 1.7 * kGHz);
}

struct SCentreCase {
    const char* name;
    double rememberedSpan;
    double typedCentre;
    double centre;
    double span;
};

class CentreClamping : public ::testing::TestWithParam<SCentreCase> {};

TEST_P(CentreClamping, CentreAndSpanStayInsideTheInstrument) {
    const SCentreCase& c = GetParam();
    SInstrumentLimits limits;
    limits.minFreq = 10 * kMHz;
    limits.maxFreq = 20 * kGHz;
    CTypedEdits e(limits);
    e.Type(eiStart, 1 * kGHz);
    e.Type(eiStop, 1 * kGHz + c.rememberedSpan);
    e.Confirm(eiStop);
    e.Type(eiCenter, c.typedCentre);
    EXPECT_DOUBLE_EQ(e[eiCenter], c.typedCentre);  // the text being typed stays
    EXPECT_DOUBLE_EQ(e.Stored(eiCenter), c.centre);
    EXPECT_DOUBLE_EQ(e[eiSpan], c.span);
    EXPECT_DOUBLE_EQ(e[eiStart], c.centre - c.span / 2);
    EXPECT_DOUBLE_EQ(e[eiStop], c.centre + c.span / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CentreClamping,
    ::testing::Values(SCentreCase{"BelowMinimum", 100 * kMHz, 1 * kMHz, 10 * kMHz, 0},
                      SCentreCase{"AboveMaximum", 100 * kMHz, 30 * kGHz, 20 * kGHz, 0},
                      SCentreCase{"NearMinimum", 100 * kMHz, 20 * kMHz, 20 * kMHz, 20 * kMHz},
                      SCentreCase{"NearMaximum", 100 * kMHz, 20 * kGHz - 5 * kMHz,
                                  20 * kGHz - 5 * kMHz, 10 * kMHz},
                      SCentreCase{"Inside", 100 * kMHz, 5 * kGHz, 5 * kGHz, 100 * kMHz}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Coupling, SpanPastTheMaximumMovesTheCentreDown) {
    SInstrumentLimits limits;
    limits.maxFreq = 20 * kGHz;
    CTypedEdits e(limits);
    e.Type(eiStart, 19 * kGHz);
    e.Type(eiStop, 19.5 * kGHz);
    e.Confirm(eiStop);
    e.Type(eiSpan, 4 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiCenter], 18 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiStart], 16 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiStop], 20 * kGHz);
}

TEST(Coupling, SpanBelowTheMinimumMovesTheCentreUp) {
    SInstrumentLimits limits;
    limits.minFreq = 10 * kMHz;
    CTypedEdits e(limits);
    e.Type(eiStart, 20 * kMHz);
    e.Type(eiStop, 40 * kMHz);
    e.Confirm(eiStop);
    e.Type(eiSpan, 100 * kMHz);
    EXPECT_DOUBLE_EQ(e[eiCenter], 60 * kMHz);
    EXPECT_DOUBLE_EQ(e[eiStart], 10 * kMHz);
}

TEST(Coupling, WithoutLimitsCentreAndSpanAreTakenAsTyped) {
    SInstrumentLimits limits;
    limits.minFreq = kNaN;
    limits.maxFreq = kNaN;
    CTypedEdits e(limits);
    e.Type(eiStart, 1 * kGHz);
    e.Type(eiStop, 3 * kGHz);
    e.Type(eiCenter, 5 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiStart], 4 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiStop], 6 * kGHz);
}

TEST(Coupling, PointsOfOneCollapseAndTwoRestoresTheFirstRememberedStop) {
    CTypedEdits e;
    e.Type(eiStart, 1 * kGHz);
    e.Type(eiStop, 2 * kGHz);
    e.Type(eiPoints, 1);
    EXPECT_DOUBLE_EQ(e[eiStop], 1 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiCenter], 1 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiSpan], 0);
    e.Type(eiPoints, 1.5);  // still 1 after truncation: the first stop stays remembered
    EXPECT_EQ(e.Coupling().Memory().collapseCount, 2);
    e.Type(eiPoints, 2);
    EXPECT_DOUBLE_EQ(e[eiStop], 2 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiCenter], 1.5 * kGHz);
    EXPECT_DOUBLE_EQ(e[eiSpan], 1 * kGHz);
    EXPECT_FALSE(e.Coupling().Memory().collapsed);
    e.Type(eiPoints, 11);  // no longer collapsed: nothing moves
    EXPECT_DOUBLE_EQ(e[eiStop], 2 * kGHz);
}

TEST(Coupling, PowerGroupCouplesWithItsOwnLimits) {
    CTypedEdits e;  // -130 … 35 dBm
    e.Type(eiPowStart, -20);
    e.Type(eiPowStop, 10);
    EXPECT_DOUBLE_EQ(e[eiPowCenter], -5);
    EXPECT_DOUBLE_EQ(e[eiPowSpan], 30);
    EXPECT_DOUBLE_EQ(e[eiCenter], 0);  // the frequency group is untouched
    e.Confirm(eiPowStop);
    e.Type(eiPowCenter, 30);  // 5 dB below the maximum with a 30 dB span
    EXPECT_DOUBLE_EQ(e[eiPowSpan], 10);
    EXPECT_DOUBLE_EQ(e[eiPowStop], 35);
}

TEST(Coupling, UnreadableValuesAndOtherEditsChangeNothing) {
    CParameterCoupling coupling;
    EditValues values{};
    values[eiStart] = kNaN;
    EXPECT_TRUE(coupling.OnEditChange(eiStop, values).empty());
    values[eiStart] = 0;
    values[eiPoints] = kNaN;
    EXPECT_TRUE(coupling.OnEditChange(eiPoints, values).empty());
    EXPECT_FALSE(coupling.Memory().collapsed);
    EXPECT_TRUE(coupling.OnEditChange(eiDwell, values).empty());
    EXPECT_TRUE(coupling.OnEditChange(kNoEdit, values).empty());
}

TEST(Coupling, RememberAcceptedTakesEnabledNumbersAndNamesTheGroupsOtherEdits) {
    CParameterCoupling coupling;
    EditValues values{};
    for (int i = 0; i < kEditCount; ++i) values[static_cast<std::size_t>(i)] = 100.0 + i;
    values[eiSpan] = kNaN;
    EditFlags enabled{};
    enabled.fill(true);
    enabled[eiPowStart] = false;
    const std::vector<int> remember = coupling.RememberAccepted(eiStop, values, enabled);
    EXPECT_EQ(remember, (std::vector<int>{eiStart, eiCenter, eiSpan}));
    const SCouplingMemory& m = coupling.Memory();
    EXPECT_DOUBLE_EQ(m.lastValues[eiStart], 100);
    EXPECT_DOUBLE_EQ(m.lastValues[eiSpan], 0);      // not a number: kept
    EXPECT_DOUBLE_EQ(m.lastValues[eiPowStart], 0);  // disabled: kept
    EXPECT_DOUBLE_EQ(m.lastValues[eiPowPoints], 109);
    EXPECT_DOUBLE_EQ(m.savedStop[0], 101);
    EXPECT_DOUBLE_EQ(m.savedStop[1], 106);
    EXPECT_TRUE(coupling.RememberAccepted(eiDwell, values, enabled).empty());
}

}  // namespace
}  // namespace z5r

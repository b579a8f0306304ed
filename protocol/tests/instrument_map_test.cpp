#include "kvproto/instrument_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "kvproto/dictionary.h"
#include "kvproto/packet.h"

namespace {

using kvproto::EInstrumentField;

TEST(InstrumentMap, EveryFieldHasExactlyOneRowAndEveryRowAKnownFormat) {
    std::set<std::pair<int, int>> places;
    std::set<int> fields;
    for (const auto& row : kvproto::InstrumentFields()) {
        EXPECT_TRUE(places.insert({row.param, row.index}).second) << row.name << ": place taken twice";
        EXPECT_TRUE(fields.insert(static_cast<int>(row.field)).second) << row.name;
        EXPECT_EQ(&kvproto::InstrumentField(row.field), &row) << row.name;
        EXPECT_EQ(kvproto::FindInstrumentField(row.param, row.index), &row) << row.name;
        const std::uint8_t format = kvproto::InstrumentParamFormat(row.param);
        EXPECT_NE(kvproto::BytesPerValue(format), 0u) << row.name << ": parameter without a format";
        EXPECT_EQ(kvproto::FractionBytes(format), 0u) << row.name << ": wire values are scaled integers";
    }
    EXPECT_EQ(fields.size(), static_cast<std::size_t>(EInstrumentField::PacketCommit) + 1);
    EXPECT_EQ(kvproto::FindInstrumentField(kvproto::kParamFrequency, 99), nullptr);
}

// The instrument's largest values must fit their parameter's format after
// scaling, or they would wrap on the wire.
TEST(InstrumentMap, ScaledExtremesFitTheirFormats) {
    const std::pair<EInstrumentField, double> extremes[] = {
        {EInstrumentField::CwFrequency, 110e9},  // the limit probe's request
        {EInstrumentField::Level, -200.0},
        {EInstrumentField::FrequencyDwell, 1000.0},
        {EInstrumentField::SyncOutMode, 1003},
        {EInstrumentField::PhaseOffset, -360},
        {EInstrumentField::ExtRefFrequency, 100e6},
        {EInstrumentField::PulsePeriod, 10.0},
        {EInstrumentField::NextError, -32768},
    };
    for (const auto& [field, value] : extremes) {
        const auto& row = kvproto::InstrumentField(field);
        const unsigned bits = 8 * kvproto::BytesPerValue(kvproto::InstrumentParamFormat(row.param));
        const double limit = std::ldexp(1.0, static_cast<int>(bits) - 1);
        EXPECT_GE(value * row.scale, -limit) << row.name;
        EXPECT_LT(value * row.scale, limit) << row.name;
    }
}

}  // namespace

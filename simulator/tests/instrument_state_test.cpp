// The instrument model on its own: clamping, the level ceiling, sweeps,
// lists and packets, settling on an injected clock, the error queue and the
// external reference's lock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <vector>

#include "instrument_limits.h"
#include "instrument_state.h"
#include "instrument_status.h"

namespace {

using z5rsim::CInstrumentState;
using z5rsim::EChunk;
using F = kvproto::EInstrumentField;
using Values = std::vector<std::int64_t>;

struct FakeClock {
    CInstrumentState::Clock::time_point now{std::chrono::hours(1)};
    CInstrumentState::NowFunction Function() {
        return [this] { return now; };
    }
    void Advance(std::chrono::milliseconds by) { now += by; }
};

class InstrumentStateTest : public ::testing::Test {
protected:
    std::int64_t Value(F field) const { return state_.Read(field).at(0); }
    z5rsim::SWriteResult Write(F field, Values values) { return state_.Write(field, values); }

    FakeClock clock_;
    CInstrumentState state_{z5rsim::SIdentity{}, clock_.Function()};
};

struct ClampCase {
    F field;
    std::int64_t request;
    std::int64_t kept;
    std::int16_t status;
};

TEST_F(InstrumentStateTest, SettingsAreRoundedAndClampedOrRefused) {
    using namespace z5rsim;
    const std::int64_t huge = std::numeric_limits<std::int64_t>::max();
    const ClampCase cases[] = {
        {F::CwFrequency, 1'000'000'000, 1'000'000'000, KV_NO_ERROR},
        {F::CwFrequency, 0, kMinFrequencyHz, KV_PARAMETER_CORRECTED},
        {F::CwFrequency, 110'000'000'000, kMaxFrequencyHz, KV_PARAMETER_CORRECTED},
        {F::CwFrequency, huge, kMaxFrequencyHz, KV_PARAMETER_CORRECTED},
        {F::CwFrequency, -huge, kMinFrequencyHz, KV_PARAMETER_CORRECTED},
        {F::CwFrequency, 1'000'000'000, 1'000'000'000, KV_NO_ERROR},
        {F::Level, 3'500, 2'000, KV_PARAMETER_CORRECTED},
        {F::Level, -20'000, -11'000, KV_PARAMETER_CORRECTED},
        {F::Level, -1'234, -1'234, KV_NO_ERROR},
        {F::AttStrategy, 7, 3, KV_PARAMETER_CORRECTED},
        {F::AttStrategy, -1, 0, KV_PARAMETER_CORRECTED},
        {F::FrequencyDwell, 1, kMinDwellNs, KV_PARAMETER_CORRECTED},
        {F::ListDwell, 1'000'000'000'000, kMaxDwellNs, KV_PARAMETER_CORRECTED},
        {F::LevelDwell, 1'234'567, 1'235'000, KV_PARAMETER_CORRECTED},
        {F::LevelDwell, -1'234'567, kMinDwellNs, KV_PARAMETER_CORRECTED},
        {F::SyncOutDuration, 5, kMinSyncDurationNs, KV_PARAMETER_CORRECTED},
        {F::SyncOutDuration, 1'234, 1'230, KV_PARAMETER_CORRECTED},
        {F::SyncOutDuration, 1'235, 1'240, KV_PARAMETER_CORRECTED},
        {F::PhaseOffset, 400, 180, KV_PARAMETER_CORRECTED},
        {F::PhaseOffset, -400, -180, KV_PARAMETER_CORRECTED},
        {F::PhaseOffset, -45, -45, KV_NO_ERROR},
        {F::ExtRefFrequency, 0, kMinExtRefHz, KV_PARAMETER_CORRECTED},
        {F::RfOutputEnabled, -1, 1, KV_PARAMETER_CORRECTED},  // a COM true is on
        {F::RfOutputEnabled, 0, 0, KV_NO_ERROR},
        {F::SyncOutEnabled, 1, 1, KV_NO_ERROR},
        {F::SweepMode, 5, 5, KV_NO_ERROR},
        {F::SweepMode, 2, 5, KV_PARAMETER_INCORRECT},
        {F::TriggerSource, 3, 0, KV_PARAMETER_INCORRECT},
        {F::SyncOutMode, 1003, 1003, KV_NO_ERROR},
        {F::SyncOutMode, 1004, 1003, KV_PARAMETER_INCORRECT},
        {F::PulseModSource, 2, 0, KV_PARAMETER_INCORRECT},
    };
    for (const ClampCase& c : cases) {
        SCOPED_TRACE(std::string(kvproto::InstrumentField(c.field).name) + " " + std::to_string(c.request));
        const SWriteResult result = Write(c.field, {c.request});
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.values, c.status >= 0 ? Values{c.kept} : Values{});
        EXPECT_EQ(Value(c.field), c.kept);
    }
}

TEST_F(InstrumentStateTest, ReadOnlyAndWriteOnlyFieldsKeepTheirDirection) {
    EXPECT_EQ(Write(F::Locked, {0}).status, z5rsim::KV_PARAMETER_INCORRECT);
    EXPECT_EQ(Write(F::SweepStartFrequency, {1'000'000'000}).status, z5rsim::KV_PARAMETER_INCORRECT);
    EXPECT_EQ(Write(F::SerialNumber, {65}).status, z5rsim::KV_PARAMETER_INCORRECT);
    EXPECT_TRUE(state_.Read(F::ConfigureFrequencySweep).empty());
    EXPECT_EQ(Write(F::CwFrequency, {}).status, z5rsim::KV_SMALL_SIZE);
    EXPECT_EQ(Write(F::ConfigureLevelSweep, {0, 0}).status, z5rsim::KV_SMALL_SIZE);
    EXPECT_EQ(Value(F::InstrumentType), kvproto::kInstrumentTypeGenerator);
}

TEST_F(InstrumentStateTest, LimitDiscoveryFindsTheRangeAndTheSweepPoints) {
    // What the driver does at connection: ask for too much, read back.
    z5rsim::SWriteResult wide = Write(F::ConfigureFrequencySweep, {0, 110'000'000'000, 110'000'000'000});
    EXPECT_EQ(wide.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(wide.values, (Values{10'000'000, 20'000'000'000, 19'990'000'000}));
    EXPECT_EQ(Value(F::SweepStartFrequency), 10'000'000);
    EXPECT_EQ(Value(F::SweepStopFrequency), 20'000'000'000);

    const double span = 20e9 - 10e6;
    z5rsim::SWriteResult fine = Write(F::ConfigureFrequencySweep, {10'000'000, 20'000'000'000, 199'900});
    EXPECT_EQ(fine.status, z5rsim::KV_NO_ERROR);
    const double step = static_cast<double>(Value(F::SweepStepFrequency));
    EXPECT_EQ(static_cast<std::int64_t>(span / (step + 0.001) + 1.5), z5rsim::kMaxSweepPoints);

    // Finer than the point limit allows: widened to it.
    EXPECT_EQ(Write(F::ConfigureFrequencySweep, {10'000'000, 20'000'000'000, 1'000}).values[2], 199'900);
    // Steps of nothing or backwards, and sweeps of no span, still make sense.
    EXPECT_EQ(Write(F::ConfigureFrequencySweep, {2'000'000'000, 1'000'000'000, 0}).values,
              (Values{2'000'000'000, 1'000'000'000, 10'000}));
    EXPECT_EQ(Write(F::ConfigureFrequencySweep, {1'000'000'000, 1'000'000'000, -5}).values,
              (Values{1'000'000'000, 1'000'000'000, 1}));

    // Level limits: put far too much, then far too little.
    EXPECT_EQ(Write(F::Level, {3'500}).values, Values{2'000});
    EXPECT_EQ(Write(F::Level, {-20'000}).values, Values{-11'000});
}

TEST_F(InstrumentStateTest, LevelCeilingFallsWithFrequency) {
    using z5rsim::MaxLevelCdbAt;
    EXPECT_EQ(MaxLevelCdbAt(10'000'000), 2'000);
    EXPECT_EQ(MaxLevelCdbAt(10'000'000'000), 2'000);
    EXPECT_EQ(MaxLevelCdbAt(10'000'000'001), 1'999);  // never above the line
    EXPECT_EQ(MaxLevelCdbAt(15'000'000'000), 1'750);
    EXPECT_EQ(MaxLevelCdbAt(20'000'000'000), 1'500);

    Write(F::CwFrequency, {20'000'000'000});
    EXPECT_EQ(Write(F::Level, {3'500}).values, Values{1'500});
    Write(F::CwFrequency, {1'000'000'000});
    EXPECT_EQ(Write(F::Level, {2'000}).status, z5rsim::KV_NO_ERROR);

    // Moving up in frequency takes the level down with it.
    Write(F::CwFrequency, {15'000'000'000});
    EXPECT_EQ(Value(F::Level), 1'750);

    EXPECT_EQ(Write(F::ConfigureLevelSweep, {-20'000, 3'500, 0}).values, (Values{-11'000, 1'750, 1}));
    EXPECT_EQ(Write(F::ConfigureLevelSweep, {-1'000, 1'000, 100}).status, z5rsim::KV_NO_ERROR);
}

TEST_F(InstrumentStateTest, LevelSettlesAFixedTimeAfterAChange) {
    EXPECT_EQ(Value(F::LevelSettled), 1);
    Write(F::CwFrequency, {2'000'000'000});
    EXPECT_EQ(Value(F::LevelSettled), 0);
    clock_.Advance(std::chrono::milliseconds(z5rsim::kSettleTimeMs - 1));
    EXPECT_EQ(Value(F::LevelSettled), 0);
    clock_.Advance(std::chrono::milliseconds(1));
    EXPECT_EQ(Value(F::LevelSettled), 1);

    // The same values again, or unrelated settings, change nothing.
    Write(F::CwFrequency, {2'000'000'000});
    Write(F::FrequencyDwell, {1'000'000});
    EXPECT_EQ(Value(F::LevelSettled), 1);

    Write(F::Level, {-500});
    EXPECT_EQ(Value(F::LevelSettled), 0);
    clock_.Advance(std::chrono::milliseconds(z5rsim::kSettleTimeMs));
    Write(F::RfOutputEnabled, {1});
    EXPECT_EQ(Value(F::LevelSettled), 0);
    clock_.Advance(std::chrono::milliseconds(z5rsim::kSettleTimeMs));
    EXPECT_EQ(Value(F::LevelSettled), 1);
}

TEST_F(InstrumentStateTest, ErrorQueueHandsOutTheOldestFirst) {
    EXPECT_EQ(Value(F::NextError), 0);
    EXPECT_EQ(state_.TakeError(), 0);
    state_.QueueError(-32761);
    state_.QueueError(-32740);
    state_.QueueError(0);  // "no error" is not an error
    EXPECT_EQ(Value(F::NextError), -32761);  // looking does not take it
    EXPECT_EQ(state_.TakeError(), -32761);
    EXPECT_EQ(state_.TakeError(), -32740);
    EXPECT_EQ(state_.TakeError(), 0);

    for (int i = 0; i < 70; ++i) state_.QueueError(static_cast<std::int16_t>(-30000 - i));
    EXPECT_EQ(state_.ErrorQueue().size(), z5rsim::kErrorQueueDepth);
    EXPECT_EQ(state_.TakeError(), -30000);
}

TEST_F(InstrumentStateTest, ExternalReferenceLocksOnlyOnSupportedFrequencyWhilePresent) {
    EXPECT_EQ(Value(F::ExtRefLocked), 0);
    EXPECT_EQ(Value(F::Locked), 1);

    Write(F::ExtRefFrequency, {10'000'000});
    Write(F::ExtRefEnabled, {1});
    EXPECT_EQ(Value(F::ExtRefLocked), 1);
    EXPECT_EQ(Value(F::Locked), 1);
    EXPECT_TRUE(state_.ErrorQueue().empty());

    // An input the loop cannot lock to: unlocked, and one error for it.
    Write(F::ExtRefFrequency, {7'000'000});
    Write(F::ExtRefFrequency, {8'000'000});
    EXPECT_EQ(Value(F::ExtRefLocked), 0);
    EXPECT_EQ(Value(F::Locked), 0);
    EXPECT_EQ(state_.ErrorQueue(), (std::deque<std::int16_t>{z5rsim::KV_EXTREF_NO_PLL}));
    state_.TakeError();
    Write(F::ExtRefFrequency, {100'000'000});
    EXPECT_EQ(Value(F::ExtRefLocked), 1);

    // The reference goes away: back to the internal one, with an error.
    state_.LoseReference();
    EXPECT_EQ(Value(F::ExtRefEnabled), 0);
    EXPECT_EQ(Value(F::ExtRefLocked), 0);
    EXPECT_EQ(Value(F::Locked), 1);
    EXPECT_EQ(state_.TakeError(), z5rsim::KV_EXTREF_NO_PLL);

    // Selected while absent: no lock until it comes back.
    Write(F::ExtRefEnabled, {1});
    EXPECT_EQ(Value(F::ExtRefLocked), 0);
    EXPECT_EQ(state_.TakeError(), z5rsim::KV_EXTREF_NO_PLL);
    state_.RestoreReference();
    EXPECT_EQ(Value(F::ExtRefLocked), 1);
    EXPECT_EQ(Value(F::Locked), 1);

    // Losing a reference nobody uses is no error.
    Write(F::ExtRefEnabled, {0});
    state_.LoseReference();
    EXPECT_TRUE(state_.ErrorQueue().empty());
}

class PointListTest : public InstrumentStateTest {
protected:
    // Sends an array in chunks of kChunkElements as the driver does.
    void Send(EChunk chunk, const Values& values) {
        for (std::size_t offset = 0; offset < values.size(); offset += kvproto::kChunkElements) {
            const std::size_t end = std::min(values.size(), offset + kvproto::kChunkElements);
            const Values part(values.begin() + static_cast<std::ptrdiff_t>(offset),
                              values.begin() + static_cast<std::ptrdiff_t>(end));
            state_.PutChunk(chunk, static_cast<std::int64_t>(offset), part);
        }
    }
};

TEST_F(PointListTest, LongListsAreShortenedAndCorrected) {
    Values frequencies(6000);
    Values levels(6000, -1'000);
    for (std::size_t i = 0; i < frequencies.size(); ++i) frequencies[i] = 1'000'000'000 + static_cast<std::int64_t>(i);
    frequencies[0] = 5;                  // below the range
    frequencies[1] = 20'000'000'000;     // top of the range
    levels[1] = 3'000;                   // above the ceiling there

    const z5rsim::SWriteResult begun = Write(F::PointsListBegin, {6000, 6000});
    EXPECT_EQ(begun.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(begun.values, (Values{5001, 5001}));
    Send(EChunk::ListFrequencies, frequencies);
    Send(EChunk::ListLevels, levels);

    const z5rsim::SWriteResult committed = Write(F::PointsListCommit, {});
    EXPECT_EQ(committed.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(committed.values, (Values{5001, 5001}));
    const Values& keptFrequencies = state_.Committed(EChunk::ListFrequencies);
    const Values& keptLevels = state_.Committed(EChunk::ListLevels);
    ASSERT_EQ(keptFrequencies.size(), 5001u);
    ASSERT_EQ(keptLevels.size(), 5001u);
    EXPECT_EQ(keptFrequencies[0], z5rsim::kMinFrequencyHz);
    EXPECT_EQ(keptLevels[1], 1'500);
    EXPECT_EQ(keptFrequencies[5000], 1'000'005'000);

    // Read back in chunks from any offset.
    const z5rsim::SWriteResult tail = state_.ReadChunk(EChunk::ListFrequencies, 4900, kvproto::kChunkElements);
    EXPECT_EQ(tail.values.size(), 101u);
    EXPECT_EQ(state_.ReadChunk(EChunk::ListLevels, 5001, 10).status, z5rsim::KV_NO_ERROR);
    EXPECT_EQ(state_.ReadChunk(EChunk::ListLevels, 5002, 10).status, z5rsim::KV_PARAMETER_INCORRECT);
}

TEST_F(PointListTest, ListsOfDifferentLengthsAreKeptAsSent) {
    Write(F::PointsListBegin, {2, 4});
    Send(EChunk::ListFrequencies, {1'000'000'000, 20'000'000'000});
    Send(EChunk::ListLevels, {2'000, 2'000, 2'000, -1'000});
    const z5rsim::SWriteResult committed = Write(F::PointsListCommit, {});
    EXPECT_EQ(committed.values, (Values{2, 4}));
    // Levels past the frequencies take the last frequency's ceiling.
    EXPECT_EQ(state_.Committed(EChunk::ListLevels), (Values{2'000, 1'500, 1'500, -1'000}));
    EXPECT_EQ(committed.status, z5rsim::KV_PARAMETER_CORRECTED);
}

TEST_F(PointListTest, TransfersMustBeBegunAndComplete) {
    EXPECT_EQ(state_.PutChunk(EChunk::ListFrequencies, 0, Values{1'000'000'000}).status, z5rsim::KV_NO_PARAMETERS);
    EXPECT_EQ(Write(F::PointsListCommit, {}).status, z5rsim::KV_NO_PARAMETERS);

    Write(F::PointsListBegin, {1, 1});
    Send(EChunk::ListFrequencies, {1'000'000'000});
    Send(EChunk::ListLevels, {-500});
    ASSERT_EQ(Write(F::PointsListCommit, {}).status, z5rsim::KV_NO_ERROR);

    // A second list with a level missing is refused and the first stays.
    Write(F::PointsListBegin, {2, 2});
    Send(EChunk::ListFrequencies, {2'000'000'000, 3'000'000'000});
    state_.PutChunk(EChunk::ListLevels, 0, Values{-700});
    EXPECT_EQ(Write(F::PointsListCommit, {}).status, z5rsim::KV_NO_PARAMETERS);
    EXPECT_EQ(state_.Committed(EChunk::ListFrequencies), Values{1'000'000'000});
    // The missing one can still come.
    state_.PutChunk(EChunk::ListLevels, 1, Values{-800});
    EXPECT_EQ(Write(F::PointsListCommit, {}).status, z5rsim::KV_NO_ERROR);
    EXPECT_EQ(state_.Committed(EChunk::ListLevels), (Values{-700, -800}));

    // Past the announced length: dropped and said so.
    Write(F::PointsListBegin, {2, 0});
    const z5rsim::SWriteResult overrun = state_.PutChunk(EChunk::ListFrequencies, 1, Values{1'000'000'000, 2'000'000'000});
    EXPECT_EQ(overrun.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(overrun.values, Values{1'000'000'000});
    EXPECT_EQ(state_.PutChunk(EChunk::ListFrequencies, -1, Values{1}).status, z5rsim::KV_PARAMETER_INCORRECT);
}

TEST_F(InstrumentStateTest, PulsePacketIsLimitedAndClamped) {
    const z5rsim::SWriteResult begun = Write(F::PacketBegin, {100});
    EXPECT_EQ(begun.values, Values{z5rsim::kMaxPacketPulses});
    EXPECT_EQ(begun.status, z5rsim::KV_PARAMETER_CORRECTED);
    const Values widths(64, 1'234);
    const Values gaps(64, -10);
    const z5rsim::SWriteResult widthChunk = state_.PutChunk(EChunk::PacketWidths, 0, widths);
    EXPECT_EQ(widthChunk.values, Values(64, 1'230));
    EXPECT_EQ(widthChunk.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(Write(F::PacketCommit, {}).status, z5rsim::KV_NO_PARAMETERS);  // gaps missing
    state_.PutChunk(EChunk::PacketGaps, 0, gaps);
    const z5rsim::SWriteResult committed = Write(F::PacketCommit, {});
    EXPECT_EQ(committed.values, Values{64});
    EXPECT_EQ(committed.status, z5rsim::KV_PARAMETER_CORRECTED);
    EXPECT_EQ(state_.Committed(EChunk::PacketGaps), Values(64, 0));

    Write(F::PacketBegin, {1});
    state_.PutChunk(EChunk::PacketWidths, 0, Values{5});
    state_.PutChunk(EChunk::PacketGaps, 0, Values{2'000'000'000});
    EXPECT_EQ(Write(F::PacketCommit, {}).status, z5rsim::KV_NO_ERROR);  // the begin kept all
    EXPECT_EQ(state_.Committed(EChunk::PacketWidths), Values{z5rsim::kMinPulseWidthNs});
    EXPECT_EQ(state_.Committed(EChunk::PacketGaps), Values{z5rsim::kMaxPulseTimeNs});
}

TEST_F(InstrumentStateTest, PulseWidthNeverExceedsThePeriod) {
    Write(F::PulsePeriod, {10'000});
    const z5rsim::SWriteResult width = Write(F::PulseWidth, {20'000});
    EXPECT_EQ(width.values, Values{10'000});
    EXPECT_EQ(width.status, z5rsim::KV_PARAMETER_CORRECTED);
    Write(F::PulsePeriod, {5'000});
    EXPECT_EQ(Value(F::PulseWidth), 5'000);
    EXPECT_EQ(Write(F::PulsePeriod, {1}).values, Values{z5rsim::kMinPulsePeriodNs});
}

TEST(InstrumentIdentityTest, ModelWithoutPulseModulationRefusesItsFields) {
    z5rsim::SIdentity identity;
    identity.pulseModulation = false;
    CInstrumentState state(identity);
    EXPECT_EQ(state.Read(F::HasPulseModulation), Values{0});
    EXPECT_FALSE(state.Supports(F::PulseWidth));
    EXPECT_EQ(state.Write(F::PulseModEnabled, Values{1}).status, z5rsim::KV_UNKNOWN_PARAMETER);
    EXPECT_EQ(state.Write(F::PacketBegin, Values{1}).status, z5rsim::KV_UNKNOWN_PARAMETER);
    EXPECT_EQ(state.PutChunk(EChunk::PacketGaps, 0, Values{1}).status, z5rsim::KV_UNKNOWN_PARAMETER);
    EXPECT_EQ(state.ReadChunk(EChunk::PacketWidths, 0, 1).status, z5rsim::KV_UNKNOWN_PARAMETER);
    // Lists are no part of pulse modulation.
    EXPECT_EQ(state.Write(F::PointsListBegin, Values{1, 1}).status, z5rsim::KV_NO_ERROR);
}

TEST(InstrumentIdentityTest, TextsTravelAsBytes) {
    z5rsim::SIdentity identity;
    identity.serial = "Z5R-42*";
    identity.name = std::string(300, 'n');
    CInstrumentState state(identity);
    EXPECT_EQ(state.Read(F::SerialNumber), (Values{'Z', '5', 'R', '-', '4', '2', '*'}));
    EXPECT_EQ(state.Read(F::Name).size(), z5rsim::kMaxTextBytes);
    EXPECT_EQ(state.Read(F::HasPulseModulation), Values{1});
}

TEST_F(InstrumentStateTest, ResetRestoresPowerOnSettingsButNotTheHardware) {
    Write(F::CwFrequency, {5'000'000'000});
    Write(F::Level, {500});
    Write(F::RfOutputEnabled, {1});
    Write(F::PointsListBegin, {1, 0});
    state_.PutChunk(EChunk::ListFrequencies, 0, Values{1'000'000'000});
    Write(F::PointsListCommit, {});
    state_.QueueError(-32761);
    state_.SetRfButton(false);
    state_.LoseReference();

    state_.Reset();
    EXPECT_EQ(Value(F::CwFrequency), 1'000'000'000);
    EXPECT_EQ(Value(F::Level), -1'000);
    EXPECT_EQ(Value(F::RfOutputEnabled), 0);
    EXPECT_EQ(Value(F::SweepMode), 0);
    EXPECT_TRUE(state_.Committed(EChunk::ListFrequencies).empty());
    EXPECT_EQ(Value(F::NextError), 0);
    EXPECT_EQ(Value(F::RfButton), 0);
    EXPECT_FALSE(state_.ReferencePresent());
}

}  // namespace

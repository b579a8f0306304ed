// The synthesizer as the network sees it: every setting with its clamping,
// the point lists and the pulse packet with their chunked transfers, the
// error queue, the lock and settling states, and the faults the control
// channel can cause. No sockets: the request handler and the tests drive it.
//
// Values are in wire units (kvproto/instrument_map.h): whole hertz,
// hundredths of a dB, nanoseconds, whole degrees, flags and codes.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "chunked_list.h"
#include "kvproto/instrument_map.h"

namespace z5rsim {

// What a write did: the values the instrument kept (empty when refused) and
// KV_NO_ERROR, KV_PARAMETER_CORRECTED or an error status.
struct SWriteResult {
    std::int16_t status = 0;
    std::vector<std::int64_t> values;
};

// The arrays that travel in chunks.
enum class EChunk { ListFrequencies, ListLevels, PacketWidths, PacketGaps };

struct SIdentity {
    std::string serial = "Z5R-000123";  // as answered, "*" included in secure mode
    std::string name = "Z5R";
    bool pulseModulation = true;
};

class CInstrumentState {
public:
    using Clock = std::chrono::steady_clock;
    using NowFunction = std::function<Clock::time_point()>;

    explicit CInstrumentState(SIdentity identity, NowFunction now = &Clock::now);

    const SIdentity& Identity() const { return identity_; }
    // Whether this model has the field at all (pulse modulation is optional).
    bool Supports(kvproto::EInstrumentField field) const;
    bool Supports(EChunk chunk) const;

    // A setting or a transfer step by its row; `values` are those after the
    // field index. Read-only fields are refused with KV_PARAMETER_INCORRECT.
    SWriteResult Write(kvproto::EInstrumentField field, std::span<const std::int64_t> values);
    // The current values of a readable field (texts: one byte per value).
    // NextError only looks at the oldest queued status; TakeError removes it.
    std::vector<std::int64_t> Read(kvproto::EInstrumentField field) const;
    std::int16_t TakeError();

    // A chunk of a transfer begun with PointsListBegin or PacketBegin.
    SWriteResult PutChunk(EChunk chunk, std::int64_t offset, std::span<const std::int64_t> values);
    // Up to `count` elements of the committed array from `offset` on;
    // KV_PARAMETER_INCORRECT for an offset past its end.
    SWriteResult ReadChunk(EChunk chunk, std::int64_t offset, std::size_t count) const;
    const std::vector<std::int64_t>& Committed(EChunk chunk) const;

    // The power-on state (identity, reference and RF button stay as they are).
    void Reset();
    // One software trigger.
    void Trigger() { ++triggers_; }
    std::uint64_t Triggers() const { return triggers_; }

    // Faults and front-panel actions.
    void LoseReference();
    void RestoreReference();
    bool ReferencePresent() const { return referencePresent_; }
    void QueueError(std::int16_t status);
    const std::deque<std::int16_t>& ErrorQueue() const { return errors_; }
    void SetRfButton(bool on) { rfButton_ = on; }
    // A setting the instrument keeps at `wire` whatever is written to it
    // (answered as accepted), until it is released.
    void Hold(kvproto::EInstrumentField field, std::int64_t wire);
    void Release(kvproto::EInstrumentField field) { held_.erase(field); }

private:
    using Field = kvproto::EInstrumentField;

    std::int64_t& Stored(Field field) { return settings_[static_cast<std::size_t>(field)]; }
    std::int64_t Stored(Field field) const { return settings_[static_cast<std::size_t>(field)]; }

    SWriteResult WriteStored(Field field, std::int64_t value);
    SWriteResult WriteCwFrequency(std::int64_t value);
    SWriteResult WriteLevel(std::int64_t value);
    SWriteResult ConfigureFrequencySweep(std::span<const std::int64_t> values);
    SWriteResult ConfigureLevelSweep(std::span<const std::int64_t> values);
    SWriteResult WritePulseTime(Field field, std::int64_t value);
    SWriteResult BeginPointsList(std::span<const std::int64_t> values);
    SWriteResult CommitPointsList();
    SWriteResult BeginPacket(std::span<const std::int64_t> values);
    SWriteResult CommitPacket();

    // Lowers the levels to the ceiling at the CW frequency.
    void FitLevelsToFrequency();
    void StartSettling();
    bool LevelSettled() const;
    bool ExtRefLocked() const;
    bool ExtRefUnusable() const;  // selected but cannot lock

    SIdentity identity_;
    NowFunction now_;
    std::vector<std::int64_t> settings_;  // indexed by field
    Clock::time_point settledAt_{};

    std::array<CChunkedList, 4> staged_;
    std::array<std::vector<std::int64_t>, 4> committed_;
    bool listShortened_ = false;    // at its begin
    bool packetShortened_ = false;  // at its begin

    std::deque<std::int16_t> errors_;
    std::map<Field, std::int64_t> held_;
    bool referencePresent_ = true;
    bool rfButton_ = true;
    std::uint64_t triggers_ = 0;
};

}  // namespace z5rsim

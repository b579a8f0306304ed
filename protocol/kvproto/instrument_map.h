// How the synthesizer's settings travel in the packet protocol. This one table
// is what the driver sends and what the simulated instrument understands;
// docs/instrument-protocol.md describes it for people.
//
// Every setting is a field of a protocol parameter. A KV_SET body is the
// parameter identifier followed by the values [field, v1, v2, ...]; a KV_GET
// request carries [field] and its answer [field, v1, ...]. The answer to a set
// carries the values the instrument accepted, with status KV_PARAMETER_CORRECTED
// when it changed any of them. On the wire a value is the setting in the row's
// units times `scale`, encoded in the parameter's format (its FlagB in the
// parameter dictionary): whole hertz, hundredths of a dB, nanoseconds.
//
// Point lists and pulse packets are longer than one packet may carry (FlagA
// counts at most 255 values), so they travel in chunks: a "begin" field with
// the lengths, chunk parameters whose first value is the offset of the chunk's
// first element, and a "commit" field whose answer gives the lengths the
// instrument kept (status KV_PARAMETER_CORRECTED when it shortened or corrected
// anything; the chunks can then be read back with KV_GET [offset]).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kvproto {

// Parameter identifiers used by the synthesizer (values of the dictionary).
enum EInstrumentParam : std::uint16_t {
    kParamFrequency = 0,      // P_FREQUENCY
    kParamMode = 3,           // P_MODE
    kParamSyncIn = 7,         // P_SYNC_IN
    kParamSyncOut = 8,        // P_SYNC_OUT
    kParamRfOut = 12,         // P_RF_OUT (levels)
    kParamSerialNumber = 14,  // P_SER_NUM (texts, one byte per value)
    kParamExtRef = 17,        // P_EXT_REF_GEN
    kParamConfig = 23,        // P_CONFIG (identity and state)
    kParamFreqListChunk = 26,   // P_RF_OUT_LIST: frequencies of a point list
    kParamModulation = 31,      // P_MODULATION
    kParamRfButton = 34,        // P_RF_BUTTON
    kParamPointsList = 36,      // P_POINTS_LIST: begin / commit of a point list
    kParamRfOutput = 64,        // P_GEN_RF_OUT
    kParamLevelListChunk = 76,  // P_RF_OUT_LIST2: levels of a point list
    kParamGapChunk = 5,         // P_INTERVAL: gaps of a pulse packet
    kParamWidthChunk = 91,      // P_TIME: widths of a pulse packet
    kParamPhase = 92,           // P_PHASE
    kParamDwell = 95,           // P_SWEEP_TIME
};

// Every setting and state the driver exchanges with the instrument.
enum class EInstrumentField {
    // P_FREQUENCY, whole hertz
    CwFrequency,
    SweepStartFrequency,
    SweepStopFrequency,
    SweepStepFrequency,
    ConfigureFrequencySweep,  // set only: start, stop, step
    // P_RF_OUT, dBm
    Level,
    SweepStartLevel,
    SweepStopLevel,
    SweepStepLevel,
    ConfigureLevelSweep,  // set only: start, stop, step
    // P_GEN_RF_OUT
    RfOutputEnabled,
    // P_MODE
    SweepMode,  // 0 none, 3 frequency step, 4 power step, 5 list
    TriggerSource,  // 0 automatic, 1 external, 2 manual
    AttStrategy,
    ExtPowerControl,
    FrequencySinglePoint,
    LevelSinglePoint,
    ListSinglePoint,
    // P_SWEEP_TIME, seconds
    FrequencyDwell,
    LevelDwell,
    ListDwell,
    // P_SYNC_OUT
    SyncOutMode,  // 0 off, 1001 sweep start, 1002 next point, 1003 lock, 1 relay input
    SyncOutInverted,
    SyncOutEnabled,
    SyncOutDuration,  // seconds
    // P_SYNC_IN
    TriggerInputInverted,
    // P_EXT_REF_GEN
    ExtRefEnabled,
    ExtRefFrequency,  // hertz
    ExtRefLocked,     // read only
    // P_PHASE, whole degrees
    PhaseOffset,
    // P_RF_BUTTON
    RfButton,  // read only
    // P_CONFIG
    InstrumentType,  // read only: kInstrumentTypeGenerator for a synthesizer
    Locked,          // read only
    LevelSettled,    // read only
    NextError,       // read only: takes the oldest queued error status, 0 when none
    HasPulseModulation,  // read only
    // P_SER_NUM, texts as byte values
    SerialNumber,  // read only
    Name,          // read only
    // P_MODULATION
    PulseModEnabled,
    PulseModSource,  // 0 internal generator, 1 external input
    PulsePeriod,     // seconds
    PulseWidth,      // seconds
    PacketEnabled,
    // P_POINTS_LIST
    PointsListBegin,   // set only: frequency count, level count
    PointsListCommit,  // set only; answer: frequency count, level count
    // P_MODULATION again: the pulse packet's transfer
    PacketBegin,   // set only: pulse count
    PacketCommit,  // set only; answer: pulse count
};

enum class EFieldAccess { ReadWrite, ReadOnly, WriteOnly };

struct SInstrumentField {
    EInstrumentField field;
    std::string_view name;  // as in docs/instrument-protocol.md
    std::uint16_t param;
    std::uint8_t index;    // first value of the body
    double scale;          // wire value = setting × scale
    std::string_view unit;  // of the setting, "" for flags, counts and codes
    EFieldAccess access;
    std::uint8_t valueCount;  // values after the field index (texts: up to 254)
};

// The chunk parameters: the first value is the offset, then up to this many
// elements.
inline constexpr unsigned kChunkElements = 254;
inline constexpr double kFrequencyScale = 1.0;  // whole hertz
inline constexpr double kLevelScale = 100.0;    // hundredths of a dB
inline constexpr double kTimeScale = 1e9;       // nanoseconds

// What InstrumentType answers for a synthesizer; the driver's generator
// personality accepts nothing else.
inline constexpr int kInstrumentTypeGenerator = 5;

std::span<const SInstrumentField> InstrumentFields();
const SInstrumentField& InstrumentField(EInstrumentField field);
// The row for a parameter and field index, if the instrument has one.
const SInstrumentField* FindInstrumentField(std::uint16_t param, std::uint8_t index);
// The value format (FlagB) a parameter travels in.
std::uint8_t InstrumentParamFormat(std::uint16_t param);

}  // namespace kvproto

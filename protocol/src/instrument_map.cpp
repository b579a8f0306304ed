#include "kvproto/instrument_map.h"

#include <array>

#include "kvproto/dictionary.h"

namespace kvproto {
namespace {

using F = EInstrumentField;
using A = EFieldAccess;

constexpr std::array kFields{
    SInstrumentField{F::CwFrequency, "CwFrequency", kParamFrequency, 0, kFrequencyScale, "Hz", A::ReadWrite, 1},
    SInstrumentField{F::SweepStartFrequency, "SweepStartFrequency", kParamFrequency, 1, kFrequencyScale, "Hz", A::ReadOnly, 1},
    SInstrumentField{F::SweepStopFrequency, "SweepStopFrequency", kParamFrequency, 2, kFrequencyScale, "Hz", A::ReadOnly, 1},
    SInstrumentField{F::SweepStepFrequency, "SweepStepFrequency", kParamFrequency, 3, kFrequencyScale, "Hz", A::ReadOnly, 1},
    SInstrumentField{F::ConfigureFrequencySweep, "ConfigureFrequencySweep", kParamFrequency, 4, kFrequencyScale, "Hz", A::WriteOnly, 3},
    SInstrumentField{F::Level, "Level", kParamRfOut, 0, kLevelScale, "dBm", A::ReadWrite, 1},
    SInstrumentField{F::SweepStartLevel, "SweepStartLevel", kParamRfOut, 1, kLevelScale, "dBm", A::ReadOnly, 1},
    SInstrumentField{F::SweepStopLevel, "SweepStopLevel", kParamRfOut, 2, kLevelScale, "dBm", A::ReadOnly, 1},
    SInstrumentField{F::SweepStepLevel, "SweepStepLevel", kParamRfOut, 3, kLevelScale, "dB", A::ReadOnly, 1},
    SInstrumentField{F::ConfigureLevelSweep, "ConfigureLevelSweep", kParamRfOut, 4, kLevelScale, "dBm", A::WriteOnly, 3},
    SInstrumentField{F::RfOutputEnabled, "RfOutputEnabled", kParamRfOutput, 0, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::SweepMode, "SweepMode", kParamMode, 0, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::TriggerSource, "TriggerSource", kParamMode, 1, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::AttStrategy, "AttStrategy", kParamMode, 2, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::ExtPowerControl, "ExtPowerControl", kParamMode, 3, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::FrequencySinglePoint, "FrequencySinglePoint", kParamMode, 4, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::LevelSinglePoint, "LevelSinglePoint", kParamMode, 5, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::ListSinglePoint, "ListSinglePoint", kParamMode, 6, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::FrequencyDwell, "FrequencyDwell", kParamDwell, 0, kTimeScale, "s", A::ReadWrite, 1},
    SInstrumentField{F::LevelDwell, "LevelDwell", kParamDwell, 1, kTimeScale, "s", A::ReadWrite, 1},
    SInstrumentField{F::ListDwell, "ListDwell", kParamDwell, 2, kTimeScale, "s", A::ReadWrite, 1},
    SInstrumentField{F::SyncOutMode, "SyncOutMode", kParamSyncOut, 0, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::SyncOutInverted, "SyncOutInverted", kParamSyncOut, 1, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::SyncOutEnabled, "SyncOutEnabled", kParamSyncOut, 2, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::SyncOutDuration, "SyncOutDuration", kParamSyncOut, 3, kTimeScale, "s", A::ReadWrite, 1},
    SInstrumentField{F::TriggerInputInverted, "TriggerInputInverted", kParamSyncIn, 0, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::ExtRefEnabled, "ExtRefEnabled", kParamExtRef, 0, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::ExtRefFrequency, "ExtRefFrequency", kParamExtRef, 1, kFrequencyScale, "Hz", A::ReadWrite, 1},
    SInstrumentField{F::ExtRefLocked, "ExtRefLocked", kParamExtRef, 2, 1, "", A::ReadOnly, 1},
    SInstrumentField{F::PhaseOffset, "PhaseOffset", kParamPhase, 0, 1, "deg", A::ReadWrite, 1},
    SInstrumentField{F::RfButton, "RfButton", kParamRfButton, 0, 1, "", A::ReadOnly, 1},
    SInstrumentField{F::InstrumentType, "InstrumentType", kParamConfig, 0, 1, "", A::ReadOnly, 1},
    SInstrumentField{F::Locked, "Locked", kParamConfig, 1, 1, "", A::ReadOnly, 1},
    SInstrumentField{F::LevelSettled, "LevelSettled", kParamConfig, 2, 1, "", A::ReadOnly, 1},
    SInstrumentField{F::NextError, "NextError", kParamConfig, 3, 1, "", A::ReadOnly, 1},
    SInstrumentField{F::HasPulseModulation, "HasPulseModulation", kParamConfig, 4, 1, "", A::ReadOnly, 1},
    SInstrumentField{F::SerialNumber, "SerialNumber", kParamSerialNumber, 0, 1, "", A::ReadOnly, kChunkElements},
    SInstrumentField{F::Name, "Name", kParamSerialNumber, 1, 1, "", A::ReadOnly, kChunkElements},
    SInstrumentField{F::PulseModEnabled, "PulseModEnabled", kParamModulation, 0, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::PulseModSource, "PulseModSource", kParamModulation, 1, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::PulsePeriod, "PulsePeriod", kParamModulation, 2, kTimeScale, "s", A::ReadWrite, 1},
    SInstrumentField{F::PulseWidth, "PulseWidth", kParamModulation, 3, kTimeScale, "s", A::ReadWrite, 1},
    SInstrumentField{F::PacketEnabled, "PacketEnabled", kParamModulation, 4, 1, "", A::ReadWrite, 1},
    SInstrumentField{F::PointsListBegin, "PointsListBegin", kParamPointsList, 0, 1, "", A::WriteOnly, 2},
    SInstrumentField{F::PointsListCommit, "PointsListCommit", kParamPointsList, 1, 1, "", A::WriteOnly, 0},
    SInstrumentField{F::PacketBegin, "PacketBegin", kParamModulation, 5, 1, "", A::WriteOnly, 1},
    SInstrumentField{F::PacketCommit, "PacketCommit", kParamModulation, 6, 1, "", A::WriteOnly, 0},
};

}  // namespace

std::span<const SInstrumentField> InstrumentFields() { return kFields; }

const SInstrumentField& InstrumentField(EInstrumentField field) {
    for (const auto& row : kFields) {
        if (row.field == field) return row;
    }
    return kFields.front();  // unreachable: every enumerator has a row (tested)
}

const SInstrumentField* FindInstrumentField(std::uint16_t param, std::uint8_t index) {
    for (const auto& row : kFields) {
        if (row.param == param && row.index == index) return &row;
    }
    return nullptr;
}

std::uint8_t InstrumentParamFormat(std::uint16_t param) {
    const DictionaryEntry* entry = ParameterDictionary().FindByValue(param);
    return entry != nullptr ? entry->format : 0;
}

}  // namespace kvproto

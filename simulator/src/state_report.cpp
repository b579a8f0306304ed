#include "state_report.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "kvproto/instrument_map.h"

namespace z5rsim {
namespace {

void AddLine(std::string& out, std::string_view key, const std::string& value) {
    out.append(key);
    out += '=';
    out += value;
    out += '\n';
}

std::string JoinSettings(const std::vector<std::int64_t>& values, double scale) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ',';
        out += FormatSetting(values[i], scale);
    }
    return out;
}

std::string Bytes(const std::vector<std::int64_t>& values) {
    std::string text;
    for (const std::int64_t value : values) text += static_cast<char>(static_cast<unsigned char>(value));
    return text;
}

}  // namespace

std::string FormatSetting(std::int64_t wire, double scale) {
    const int decimals = static_cast<int>(std::lround(std::log10(scale)));
    if (decimals <= 0) return std::to_string(wire);
    std::int64_t unit = 1;
    for (int i = 0; i < decimals; ++i) unit *= 10;
    const std::uint64_t magnitude = wire < 0 ? 0 - static_cast<std::uint64_t>(wire) : static_cast<std::uint64_t>(wire);
    std::string fraction = std::to_string(magnitude % static_cast<std::uint64_t>(unit));
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    // Hundredths of a dB keep their two places; finer fractions lose the
    // trailing zeros (seconds read better that way).
    if (decimals > 2) {
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    }
    std::string text = (wire < 0 ? "-" : "") + std::to_string(magnitude / static_cast<std::uint64_t>(unit));
    if (!fraction.empty()) text += '.' + fraction;
    return text;
}

std::string StateReport(const CInstrumentState& state, const SServerStatus& status) {
    std::string out;
    for (const kvproto::SInstrumentField& row : kvproto::InstrumentFields()) {
        if (row.access == kvproto::EFieldAccess::WriteOnly || !state.Supports(row.field)) continue;
        const std::vector<std::int64_t> values = state.Read(row.field);
        if (row.param == kvproto::kParamSerialNumber) {
            AddLine(out, row.name, Bytes(values));
        } else {
            AddLine(out, row.name, JoinSettings(values, row.scale));
        }
    }
    AddLine(out, "ListFrequencies", JoinSettings(state.Committed(EChunk::ListFrequencies), kvproto::kFrequencyScale));
    AddLine(out, "ListLevels", JoinSettings(state.Committed(EChunk::ListLevels), kvproto::kLevelScale));
    AddLine(out, "PacketWidths", JoinSettings(state.Committed(EChunk::PacketWidths), kvproto::kTimeScale));
    AddLine(out, "PacketGaps", JoinSettings(state.Committed(EChunk::PacketGaps), kvproto::kTimeScale));
    const auto& errors = state.ErrorQueue();
    AddLine(out, "ErrorQueue", JoinSettings(std::vector<std::int64_t>(errors.begin(), errors.end()), 1));
    AddLine(out, "Triggers", std::to_string(state.Triggers()));
    AddLine(out, "Connections", std::to_string(status.connections));
    AddLine(out, "Requests", std::to_string(status.requests));
    AddLine(out, "Muted", status.muted ? "1" : "0");
    AddLine(out, "RefPresent", state.ReferencePresent() ? "1" : "0");
    return out;
}

}  // namespace z5rsim

// The text-command layer's translation, lines per second: text lines into
// packets and packets into text lines, with the protocol library loaded as
// the layer loads it and with the protocol tables read in-process. Each is
// set beside a baseline in the same run: building the same packets from
// numbers already parsed, and printing the same values with snprintf.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kvproto/dictionary.h"
#include "kvproto/packet.h"
#include "kvproto/packet_io.h"
#include "kvvisa/visa.h"
#include "protocol_library.h"
#include "tcs_line.h"
#include "tcs_text.h"

namespace {

// The names as the library's own tables hold them, without the library.
class CTableNames : public kv::IProtocolNames {
public:
    int CommandId(const std::string& name) const override {
        return IdOf(kvproto::CommandDictionary(), name);
    }
    int ParameterId(const std::string& name) const override {
        return IdOf(kvproto::ParameterDictionary(), name);
    }
    int ParameterSize(int id) const override { return kvproto::BytesPerValue(Format(id)); }
    int ParameterFract(int id) const override { return kvproto::FractionBytes(Format(id)); }
    std::string_view CommandName(int code) const override {
        return NameOf(kvproto::CommandDictionary(), code);
    }
    std::string_view ParameterName(int id) const override {
        return NameOf(kvproto::ParameterDictionary(), id);
    }
    std::string_view ErrorName(std::int16_t status) const override {
        return NameOf(kvproto::StatusDictionary(), status);
    }

private:
    static int IdOf(const kvproto::CDictionary& table, const std::string& name) {
        const auto* entry = table.FindByName(name);
        return entry != nullptr ? entry->value : -1;
    }
    static std::string_view NameOf(const kvproto::CDictionary& table, int value) {
        const auto* entry = table.FindByValue(value);
        return entry != nullptr ? std::string_view(entry->name) : std::string_view();
    }
    static std::uint8_t Format(int id) {
        const auto* entry = kvproto::ParameterDictionary().FindByValue(id);
        return entry != nullptr ? entry->format : 0;
    }
};

// A mix of what a person types: sets and gets of parameters of several
// widths, plain commands, header overrides.
const std::vector<std::string>& Lines() {
    static const std::vector<std::string> lines = {
        "P_MODE = 3",
        "P_RRS_FREQUENCY = 1000000000",
        "P_LOG_KOEF = -1.25",
        "KV_RESET",
        "P_MODE ?",
        "P_AVERAGING = 1 2 3 4 5 6 7 8",
        "KV_RUN (id=12 bodylen=8)",
        "P_IF_FILTER_BANDWIDTH = 30000",
    };
    return lines;
}

// The same packets, built from numbers a program already holds.
struct ParsedLine {
    std::uint16_t command;
    std::uint16_t parameter;
    std::vector<double> values;
    std::uint8_t format;
    std::uint16_t bodyLen = 0;  // plain commands
};
const std::vector<ParsedLine>& ParsedLines() {
    static const std::vector<ParsedLine> lines = {
        {kvproto::KV_SET, 3, {3}, 0x20},
        {kvproto::KV_SET, 56, {1e9}, 0x60},
        {kvproto::KV_SET, 94, {-1.25}, 0x42},
        {kvproto::KV_RESET, 0, {}, 0},
        {kvproto::KV_GET, 3, {}, 0x20},
        {kvproto::KV_SET, 4, {1, 2, 3, 4, 5, 6, 7, 8}, 0x10},
        {kvproto::KV_RUN, 0, {}, 0, 8},
        {kvproto::KV_SET, 66, {30000}, 0x40},
    };
    return lines;
}

std::unique_ptr<kv::CProtocolLibrary> LoadRealLibrary() {
    auto library = kv::CProtocolLibrary::Load({PROTOCOL_LIBRARY_PATH});
    if (library && library->LoadDescription(PROTOCOL_DESCRIPTION_PATH) < 0) library.reset();
    return library;
}

kv::IProtocolNames* RealLibrary() {
    static const std::unique_ptr<kv::CProtocolLibrary> library = LoadRealLibrary();
    return library.get();
}

kv::IProtocolNames* InProcessTables() {
    static CTableNames names;
    return &names;
}

// The packets the lines give, as an instrument would answer them: status 0,
// one in three refused.
std::vector<std::vector<std::uint8_t>> Answers(const kv::IProtocolNames& names) {
    std::vector<std::vector<std::uint8_t>> packets;
    for (const std::string& line : Lines()) {
        std::vector<std::uint8_t> packet;
        if (kv::TranslateLine(line, names, packet) != VI_SUCCESS) return {};
        const std::int16_t status = packets.size() % 3 == 2 ? -32766 : 0;
        packet[4] = static_cast<std::uint8_t>(status & 0xFF);
        packet[5] = static_cast<std::uint8_t>((status >> 8) & 0xFF);
        packets.push_back(std::move(packet));
    }
    return packets;
}

void LinesToPackets(benchmark::State& state, kv::IProtocolNames* names) {
    if (names == nullptr) {
        state.SkipWithError("protocol library not loaded");
        return;
    }
    std::vector<std::uint8_t> packet;
    for (auto _ : state) {
        for (const std::string& line : Lines()) {
            if (kv::TranslateLine(line, *names, packet) != VI_SUCCESS) {
                state.SkipWithError(("refused: " + line).c_str());
                return;
            }
            benchmark::DoNotOptimize(packet.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Lines().size()));
}

void PacketsToLines(benchmark::State& state, kv::IProtocolNames* names) {
    if (names == nullptr) {
        state.SkipWithError("protocol library not loaded");
        return;
    }
    const auto packets = Answers(*names);
    if (packets.empty()) {
        state.SkipWithError("no packets");
        return;
    }
    for (auto _ : state) {
        for (const auto& packet : packets) {
            std::string text =
                kv::PacketToText(packet.data(), packet.size(), kv::kAnswerStatus, *names);
            benchmark::DoNotOptimize(text.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(packets.size()));
}

void BaselineBuildPackets(benchmark::State& state) {
    for (auto _ : state) {
        for (const ParsedLine& line : ParsedLines()) {
            std::vector<std::uint8_t> packet;
            if (line.command == kvproto::KV_SET || line.command == kvproto::KV_GET) {
                packet = kvproto::BuildParameterPacket(line.command, line.parameter, line.values,
                                                       line.format);
            } else {
                kvproto::PacketHeader header;
                header.command = line.command;
                header.bodyLen = line.bodyLen;
                const auto encoded = kvproto::EncodeHeader(header);
                packet.assign(kvproto::kHeaderSize + line.bodyLen, 0);
                std::copy(encoded.begin(), encoded.end(), packet.begin());
            }
            benchmark::DoNotOptimize(packet.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(ParsedLines().size()));
}

void BaselinePrintValues(benchmark::State& state) {
    char text[512];
    for (auto _ : state) {
        for (const ParsedLine& line : ParsedLines()) {
            int at = std::snprintf(text, sizeof text, "P_%u =", line.parameter);
            for (const double value : line.values) {
                at += std::snprintf(text + at, sizeof text - static_cast<std::size_t>(at), " %.13g",
                                    value);
            }
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(ParsedLines().size()));
}

BENCHMARK_CAPTURE(LinesToPackets, protocol_library, RealLibrary());
BENCHMARK_CAPTURE(LinesToPackets, in_process_tables, InProcessTables());
BENCHMARK(BaselineBuildPackets);
BENCHMARK_CAPTURE(PacketsToLines, protocol_library, RealLibrary());
BENCHMARK_CAPTURE(PacketsToLines, in_process_tables, InProcessTables());
BENCHMARK(BaselinePrintValues);

}  // namespace

BENCHMARK_MAIN();

// Arbitrary bytes on the simulated instrument's port, cut into packets as
// its server does and answered one by one: every answer is a well-formed
// packet with a known status, and the instrument's rules hold throughout
// (level under the ceiling, width within the period, lists and packets
// within their limits).
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "instrument_limits.h"
#include "instrument_state.h"
#include "kvproto/dictionary.h"
#include "kvproto/packet.h"
#include "packet_framer.h"
#include "request_handler.h"
#include "state_report.h"

namespace {

using F = kvproto::EInstrumentField;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void CheckAnswer(const std::vector<std::uint8_t>& answer) {
    Require(answer.size() >= kvproto::kHeaderSize, "an answer has a header");
    const kvproto::PacketHeader header = kvproto::DecodeHeader(answer.data());
    Require(header.signature == kvproto::kSignature, "an answer is signed");
    Require(answer.size() == kvproto::kHeaderSize + header.bodyLen, "BodyLen is the body's size");
    if (header.bodyLen > 0) {
        Require(header.bodyLen == 2 + header.flagA * kvproto::BytesPerValue(header.flagB),
                "FlagA values of FlagB's size follow the parameter");
    }
    Require(kvproto::StatusDictionary().FindByValue(header.status) != nullptr, "the status is a known one");
}

std::int64_t One(const z5rsim::CInstrumentState& state, F field) { return state.Read(field).at(0); }

void CheckRules(const z5rsim::CInstrumentState& state) {
    Require(One(state, F::Level) <= z5rsim::MaxLevelCdbAt(One(state, F::CwFrequency)), "level under the ceiling");
    if (state.Supports(F::PulseWidth)) {
        Require(One(state, F::PulseWidth) <= One(state, F::PulsePeriod), "width within the period");
    }
    Require(state.Committed(z5rsim::EChunk::ListFrequencies).size() <= z5rsim::kMaxListPoints, "list limit");
    Require(state.Committed(z5rsim::EChunk::ListLevels).size() <= z5rsim::kMaxListPoints, "list limit");
    Require(state.Committed(z5rsim::EChunk::PacketWidths).size() ==
                state.Committed(z5rsim::EChunk::PacketGaps).size(),
            "a packet has a gap per width");
    Require(state.Committed(z5rsim::EChunk::PacketWidths).size() <= z5rsim::kMaxPacketPulses, "packet limit");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // First byte: bit 0 drops pulse modulation, the rest sets how many bytes
    // arrive at a time. Then the stream.
    if (size == 0) return 0;
    z5rsim::SIdentity identity;
    identity.pulseModulation = (data[0] & 1) == 0;
    const std::size_t piece = 1 + (data[0] >> 1);
    const auto fixedNow = z5rsim::CInstrumentState::Clock::time_point(std::chrono::hours(1));
    z5rsim::CInstrumentState state(identity, [fixedNow] { return fixedNow; });
    z5rsim::CRequestHandler handler(state);

    const std::span<const std::uint8_t> stream(data + 1, size - 1);
    z5rsim::CPacketFramer framer;
    std::vector<std::uint8_t> packet;
    std::string log;
    bool streamLost = false;
    for (std::size_t offset = 0; offset < stream.size() && !streamLost; offset += piece) {
        framer.Append(stream.subspan(offset, std::min(piece, stream.size() - offset)));
        for (;;) {
            const auto result = framer.Next(packet);
            if (result == z5rsim::CPacketFramer::EResult::BadSignature) streamLost = true;
            if (result != z5rsim::CPacketFramer::EResult::Packet) break;
            CheckAnswer(handler.Handle(packet, &log));
            Require(!log.empty(), "every exchange is described");
            CheckRules(state);
        }
    }
    // The whole input as one packet, however wrong its header.
    CheckAnswer(handler.Handle(stream));
    CheckRules(state);
    Require(z5rsim::StateReport(state, {}).find("\nRefPresent=1\n") != std::string::npos, "the report is whole");
    return 0;
}

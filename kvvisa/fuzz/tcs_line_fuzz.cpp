// Text lines of any content into packets: a line is refused or gives one
// packet exactly as long as its header says, which reads back as text. The
// grammar refuses a line with a message that quotes a piece of it, and
// accepts every line that gives a packet.
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "kvproto/packet.h"
#include "kvvisa/visa.h"
#include "tcs_fuzz_names.h"
#include "tcs_grammar.h"
#include "tcs_line.h"
#include "tcs_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const kvfuzz::FuzzProtocolNames names(input);
    const std::string line = input.ConsumeRemainingBytesAsString();

    const kv::LineParse parsed = kv::ParseLine(line);
    if (const auto* problem = std::get_if<kv::SLineProblem>(&parsed)) {
        if (problem->message.empty()) __builtin_trap();
        if (std::string_view(line).find(problem->token) == std::string_view::npos) __builtin_trap();
    }

    std::vector<std::uint8_t> packet;
    const ViStatus status = kv::TranslateLine(line, names, packet);
    if (status == VI_SUCCESS && !std::holds_alternative<kv::SLine>(parsed)) __builtin_trap();
    if (status != VI_SUCCESS) {
        if (status != VI_ERROR_INV_FMT || !packet.empty()) __builtin_trap();
        return 0;
    }
    if (packet.size() < kvproto::kHeaderSize) __builtin_trap();
    const kvproto::PacketHeader header = kvproto::DecodeHeader(packet.data());
    if (packet.size() != kvproto::kHeaderSize + header.bodyLen) __builtin_trap();
    const std::string text =
        kv::PacketToText(packet.data(), packet.size(), kv::kCommandStatus, names);
    if (text.empty()) __builtin_trap();
    return 0;
}

// Packets of any content, whole or cut short, shown as text with hostile
// protocol tables: never a read past the bytes given.
#include <cstdint>
#include <vector>

#include "kvproto/packet.h"
#include "tcs_fuzz_names.h"
#include "tcs_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const kvfuzz::FuzzProtocolNames names(input);
    const std::int16_t expected = input.ConsumeBool() ? kv::kCommandStatus : kv::kAnswerStatus;
    // A copy of exactly the remaining bytes, so any read beyond them is caught.
    const std::vector<std::uint8_t> packet = input.ConsumeRemainingBytes<std::uint8_t>();
    if (packet.size() < kvproto::kHeaderSize) return 0;
    const std::string text = kv::PacketToText(packet.data(), packet.size(), expected, names);
    if (text.empty()) __builtin_trap();
    return 0;
}

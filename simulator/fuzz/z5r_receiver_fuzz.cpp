// Arbitrary requests and control lines for the simulated receiver: every
// request gets one answer (a packet of its stated length) unless the receiver
// was told to fall silent, and every control line an OK or ERR.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "kvproto/packet.h"
#include "packet_framer.h"
#include "receiver_control.h"
#include "receiver_handler.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    z5rsim::CReceiver receiver;
    // Text up to the first zero byte is control lines; the rest, requests.
    std::size_t split = 0;
    while (split < size && data[split] != 0) ++split;
    std::string text(reinterpret_cast<const char*>(data), split);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const auto reply = z5rsim::HandleReceiverControlLine(std::string_view(text).substr(start, end - start), receiver);
        if (reply) Require(reply->text.ends_with("OK\n") || reply->text.starts_with("ERR "), "OK or ERR");
        start = end + 1;
    }
    z5rsim::CPacketFramer framer;
    if (split < size) framer.Append(std::span(data + split + 1, size - split - 1));
    std::vector<std::uint8_t> packet;
    while (framer.Next(packet) == z5rsim::CPacketFramer::EResult::Packet) {
        const std::vector<std::uint8_t> answer = receiver.Handle(packet);
        if (answer.empty()) continue;
        Require(answer.size() >= kvproto::kHeaderSize, "a whole header");
        Require(kvproto::DecodeHeader(answer.data()).bodyLen + kvproto::kHeaderSize == answer.size(), "the stated length");
    }
    return 0;
}

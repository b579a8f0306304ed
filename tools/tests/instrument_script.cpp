#include "instrument_script.h"

#include <stdexcept>
#include <string>

#include "support/scripted_peer.h"

namespace kvtools_test {

Bytes HexBytes(std::string_view text) {
    Bytes bytes;
    std::string pair;
    for (const char c : text) {
        if (c == ' ') continue;
        pair += c;
        if (pair.size() == 2) {
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
            pair.clear();
        }
    }
    if (!pair.empty()) throw std::invalid_argument("odd number of hex digits");
    return bytes;
}

std::optional<Bytes> ReadPacket(int fd, int timeoutMs) {
    Bytes packet(16);
    if (!kvtest::ReadExactly(fd, packet.data(), packet.size(), timeoutMs)) return std::nullopt;
    const std::size_t bodyLength = packet[6] | (packet[7] << 8);
    packet.resize(16 + bodyLength);
    if (bodyLength > 0 && !kvtest::ReadExactly(fd, packet.data() + 16, bodyLength, timeoutMs)) {
        return std::nullopt;
    }
    return packet;
}

void PacketLog::Add(Bytes packet) {
    std::lock_guard lock(mutex_);
    packets_.push_back(std::move(packet));
}

std::vector<Bytes> PacketLog::Packets() const {
    std::lock_guard lock(mutex_);
    return packets_;
}

}  // namespace kvtools_test

// Instrument-side helpers for the scripted peers of the tool tests: packets
// written as hex text, read whole from a socket, and a log of what arrived.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

namespace kvtools_test {

using Bytes = std::vector<std::uint8_t>;

// "AA 55 03 00" -> {0xAA, 0x55, 0x03, 0x00}.
Bytes HexBytes(std::string_view text);

// One packet: the 16-byte header and the body its length field announces.
// Nothing when the connection closed or nothing came within `timeoutMs`.
std::optional<Bytes> ReadPacket(int fd, int timeoutMs = 10000);

// The packets an instrument received, shared with the test thread.
class PacketLog {
public:
    void Add(Bytes packet);
    std::vector<Bytes> Packets() const;

private:
    mutable std::mutex mutex_;
    std::vector<Bytes> packets_;
};

}  // namespace kvtools_test

// Cuts the instrument port's byte stream into whole packets (16-byte header
// plus BodyLen bytes). A header without the signature means the stream can
// no longer be followed; the connection has to go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace z5rsim {

class CPacketFramer {
public:
    enum class EResult { Packet, NeedMore, BadSignature };

    void Append(std::span<const std::uint8_t> bytes);
    // Moves the next whole packet into `packet`.
    EResult Next(std::vector<std::uint8_t>& packet);
    std::size_t Buffered() const { return buffer_.size() - head_; }
    void Clear();

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t head_ = 0;  // start of the first unread byte
};

}  // namespace z5rsim

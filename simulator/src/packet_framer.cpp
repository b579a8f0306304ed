#include "packet_framer.h"

#include "kvproto/packet.h"

namespace z5rsim {

void CPacketFramer::Append(std::span<const std::uint8_t> bytes) {
    // Drop what was taken before it piles up.
    if (head_ > 0 && head_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

CPacketFramer::EResult CPacketFramer::Next(std::vector<std::uint8_t>& packet) {
    const std::size_t available = Buffered();
    const std::uint8_t* start = buffer_.data() + head_;
    // The signature is known after two bytes; no need to wait for the rest
    // of a header that cannot be one.
    if (available >= 2 && (start[0] | (start[1] << 8)) != kvproto::kSignature) return EResult::BadSignature;
    if (available < kvproto::kHeaderSize) return EResult::NeedMore;
    const kvproto::PacketHeader header = kvproto::DecodeHeader(start);
    const std::size_t total = kvproto::kHeaderSize + header.bodyLen;
    if (available < total) return EResult::NeedMore;
    packet.assign(start, start + total);
    head_ += total;
    return EResult::Packet;
}

void CPacketFramer::Clear() {
    buffer_.clear();
    head_ = 0;
}

}  // namespace z5rsim

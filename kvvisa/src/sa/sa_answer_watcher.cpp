#include "sa_answer_watcher.h"

#include <algorithm>

#include "kvproto/packet.h"
#include "kvproto/receiver_params.h"

namespace kv {

namespace {

// Plain unsigned little-endian integers of a fixed width.
std::uint64_t Unsigned(const std::uint8_t* bytes, unsigned width) {
    std::uint64_t value = 0;
    for (unsigned i = width; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

constexpr unsigned kFrequencyWidth = 6;
constexpr unsigned kPlanValues = 8;

}  // namespace

void CSaAnswerWatcher::Reset() {
    following_ = false;
    expected_ = 0;
    body_.clear();
}

CSaAnswerWatcher::EChange CSaAnswerWatcher::Feed(std::span<const std::uint8_t> bytes, SSaSettings& settings) {
    EChange change = EChange::None;
    // Every answer is framed, watched or not, so that body bytes are never
    // taken for a header whatever sizes the application reads in.
    while (!bytes.empty()) {
        if (!following_) {
            const std::size_t take = std::min(bytes.size(), kvproto::kHeaderSize - body_.size());
            body_.insert(body_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
            bytes = bytes.subspan(take);
            if (body_.size() < kvproto::kHeaderSize) break;
            const kvproto::PacketHeader header = kvproto::DecodeHeader(body_.data());
            body_.clear();
            if (header.signature != kvproto::kSignature) {
                // Out of step: what follows cannot be framed; the next read starts afresh.
                Reset();
                break;
            }
            if (header.bodyLen == 0) continue;
            following_ = true;
            expected_ = header.bodyLen;
            status_ = header.command == kvproto::KV_SET ? header.status : -1;
            continue;
        }
        const std::size_t take = std::min<std::size_t>(bytes.size(), expected_ - body_.size());
        body_.insert(body_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
        bytes = bytes.subspan(take);
        if (body_.size() < expected_) break;
        // An answer with an error status did not take its value.
        if (status_ >= 0 && Learn(settings) == EChange::Learned) change = EChange::Learned;
        Reset();
    }
    return change;
}

CSaAnswerWatcher::EChange CSaAnswerWatcher::Learn(SSaSettings& settings) const {
    if (body_.size() < 2) return EChange::None;
    const std::uint16_t param = static_cast<std::uint16_t>(Unsigned(body_.data(), 2));
    const std::uint8_t* values = body_.data() + 2;
    const std::size_t size = body_.size() - 2;
    // A body too short for the parameter's values teaches nothing.
    switch (param) {
    case kvproto::kParamReceiverMode:
        if (size < 2) return EChange::None;
        settings.requestedMode = settings.currentMode = static_cast<std::uint16_t>(Unsigned(values, 2));
        return EChange::Learned;
    case kvproto::kParamAveraging:
        if (size < 1) return EChange::None;
        settings.averaging = values[0];
        settings.known |= kKnownAveraging;
        return EChange::Learned;
    case kvproto::kParamReceiverFrequency: {
        if (size < kFrequencyWidth * kPlanValues) return EChange::None;
        std::uint64_t v[kPlanValues];
        for (unsigned i = 0; i < kPlanValues; ++i) v[i] = Unsigned(values + i * kFrequencyWidth, kFrequencyWidth);
        settings.plan = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
        settings.known |= kKnownFrequencyPlan;
        return EChange::Learned;
    }
    case kvproto::kParamIfBandwidth:
        if (size < 4) return EChange::None;
        settings.bandwidth = static_cast<std::uint32_t>(Unsigned(values, 4));
        settings.known |= kKnownBandwidth;
        return EChange::Learned;
    case kvproto::kParamDetector:
        if (size < 1) return EChange::None;
        settings.detector = values[0];
        settings.known |= kKnownDetector;
        return EChange::Learned;
    default:
        return EChange::None;
    }
}

}  // namespace kv

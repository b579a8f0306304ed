// Follows the answers an application reads and learns the measurement set-up
// from the answers to KV_SET. No sockets: it is fed the bytes as they pass.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sa_settings.h"

namespace kv {

class CSaAnswerWatcher {
public:
    enum class EChange { None, Learned };

    // Bytes the application has just read, in order. A read of a header
    // begins a watched answer when it is a KV_SET answer with a body;
    // otherwise the bytes pass unwatched. Returns Learned when a completed
    // answer changed what is known (the plan must then be made again).
    EChange Feed(std::span<const std::uint8_t> bytes, SSaSettings& settings);

    // Forgets a partly followed answer (the stream was cleared).
    void Reset();
    bool Following() const { return following_; }

private:
    EChange Learn(SSaSettings& settings) const;

    bool following_ = false;
    std::int16_t status_ = 0;
    std::uint32_t expected_ = 0;
    std::vector<std::uint8_t> body_;
};

}  // namespace kv

// The driver's own error queue: instrument error statuses (sign-extended to
// 32 bits) and the VISA statuses transfers failed with, oldest first.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "kvvisa/visatype.h"

namespace korvel::v8n {

class CErrorQueue {
public:
    // Entries beyond this many are dropped: the oldest tell how it started.
    static constexpr std::size_t kCapacity = 256;

    void PushInstrumentStatus(std::int16_t status) { Push(status); }
    void PushVisaStatus(ViStatus status) { Push(status); }
    std::optional<std::int32_t> Pop();
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }

    // "" for 0, the protocol's text for an instrument status, the library's
    // text for a VISA status.
    static std::string Message(std::int32_t code);

private:
    void Push(std::int32_t code);

    std::deque<std::int32_t> entries_;
};

}  // namespace korvel::v8n

#include "error_queue.h"

#include <cinttypes>
#include <cstdio>
#include <limits>

#include "kvproto/dictionary.h"
#include "kvvisa/visa.h"

namespace korvel::v8n {

void CErrorQueue::Push(std::int32_t code) {
    if (entries_.size() < kCapacity) entries_.push_back(code);
}

std::optional<std::int32_t> CErrorQueue::Pop() {
    if (entries_.empty()) return std::nullopt;
    const std::int32_t code = entries_.front();
    entries_.pop_front();
    return code;
}

std::string CErrorQueue::Message(std::int32_t code) {
    if (code == 0) return {};
    if (code >= std::numeric_limits<std::int16_t>::min() && code < 0) {
        return kvproto::StatusText(static_cast<std::int16_t>(code));
    }
    ViChar text[VI_FIND_BUFLEN] = {};
    viStatusDesc(VI_NULL, code, text);
    if (text[0] != '\0') return text;
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "VISA status 0x%08" PRIX32,
                  static_cast<std::uint32_t>(code));
    return fallback;
}

}  // namespace korvel::v8n

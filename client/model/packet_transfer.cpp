#include "model/packet_transfer.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace z5r {

std::vector<SPulse> PulsesToSend(const std::vector<SPulse>& packet) {
    std::vector<SPulse> sent;
    std::copy_if(packet.begin(), packet.end(), std::back_inserter(sent), [](const SPulse& p) { return p.used; });
    return sent;
}

void MergeReadBack(std::vector<SPulse>& packet, const std::vector<SPulse>& readBack) {
    std::vector<SPulse> merged;
    merged.reserve(std::max(packet.size(), readBack.size()));
    auto next = readBack.begin();
    for (const SPulse& pulse : packet) {
        if (!pulse.used) {
            merged.push_back(pulse);
        } else if (next != readBack.end()) {
            merged.push_back(SPulse{next->tau, next->period, next->q, true});
            ++next;
        }
    }
    for (; next != readBack.end(); ++next) merged.push_back(SPulse{next->tau, next->period, next->q, true});
    packet = std::move(merged);
}

}  // namespace z5r

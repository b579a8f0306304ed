#include "chunked_list.h"

#include <algorithm>
#include <utility>

namespace z5rsim {

void CChunkedList::Begin(std::size_t length) {
    values_.assign(length, 0);
    received_.assign(length, false);
    missing_ = length;
    active_ = true;
}

std::size_t CChunkedList::Put(std::size_t offset, std::span<const std::int64_t> values) {
    if (!active_ || offset >= values_.size()) return 0;
    const std::size_t stored = std::min(values.size(), values_.size() - offset);
    for (std::size_t i = 0; i < stored; ++i) {
        values_[offset + i] = values[i];
        if (!received_[offset + i]) {
            received_[offset + i] = true;
            --missing_;
        }
    }
    return stored;
}

std::vector<std::int64_t> CChunkedList::Take() {
    std::vector<std::int64_t> taken = std::move(values_);
    Cancel();
    return taken;
}

void CChunkedList::Cancel() {
    values_.clear();
    received_.clear();
    missing_ = 0;
    active_ = false;
}

}  // namespace z5rsim

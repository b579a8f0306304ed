#include "chunked_list.h"

#include <algorithm>
#include <utility>

namespace z5rsim {

void CChunkedList::Begin(std::size_t length) {
    values_.assign(length, 0);
    received_.assign(length, 0);
    missing_ = length;
    active_ = true;
}

std::size_t CChunkedList::Put(std::size_t offset, std::span<const std::int64_t> values) {
    if (!active_ || offset >= values_.size()) return 0;
    const std::size_t stored = std::min(values.size(), values_.size() - offset);
    std::copy_n(values.begin(), stored, values_.begin() + static_cast<std::ptrdiff_t>(offset));
    std::uint8_t* const received = received_.data() + offset;
    for (std::size_t i = 0; i < stored; ++i) {
        missing_ -= received[i] ^ 1u;
        received[i] = 1;
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

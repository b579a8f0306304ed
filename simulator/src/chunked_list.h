// One array on its way into the instrument in chunks: begun with its
// length, filled at offsets in any order, taken once every element arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace z5rsim {

class CChunkedList {
public:
    // Starts a transfer of `length` elements; an earlier unfinished one is
    // forgotten.
    void Begin(std::size_t length);
    bool Active() const { return active_; }
    std::size_t Length() const { return values_.size(); }
    // Stores values from `offset` on; elements past the length are dropped.
    // Returns how many were stored.
    std::size_t Put(std::size_t offset, std::span<const std::int64_t> values);
    // Every element has arrived at least once.
    bool Complete() const { return active_ && missing_ == 0; }
    // Ends the transfer and hands over the elements.
    std::vector<std::int64_t> Take();
    void Cancel();

private:
    std::vector<std::int64_t> values_;
    std::vector<std::uint8_t> received_;  // 1 once the element arrived
    std::size_t missing_ = 0;
    bool active_ = false;
};

}  // namespace z5rsim

// Bytes received beyond what a read asked for, handed out by the next reads.
// An answer's header and body usually arrive together; taking both with one
// receive saves a system call per answer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace kv {

class CReadAhead {
public:
    // Reads of this size or more go straight to the caller's buffer.
    static constexpr std::size_t kSize = 8192;

    void Clear() { start_ = end_ = 0; }

    // Moves up to `count` kept bytes to `out`; returns how many.
    std::size_t Take(std::uint8_t* out, std::size_t count) {
        const std::size_t taken = std::min(count, end_ - start_);
        if (taken == 0) return 0;
        std::memcpy(out, data_.get() + start_, taken);
        start_ += taken;
        if (start_ == end_) Clear();
        return taken;
    }

    // kSize bytes to receive into; only once every kept byte was taken.
    std::uint8_t* Room() {
        if (!data_) data_ = std::make_unique<std::uint8_t[]>(kSize);
        return data_.get();
    }

    // `received` bytes have arrived in Room(): up to `wanted` of them go to
    // `out` (returned count), the rest are kept.
    std::size_t Hand(std::size_t received, std::uint8_t* out, std::size_t wanted) {
        start_ = 0;
        end_ = received;
        return Take(out, wanted);
    }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

}  // namespace kv

#include "sa_detector.h"

#include <algorithm>
#include <cmath>

namespace kv {

CSaDetector::CSaDetector(std::uint8_t code)
    : kind_(code <= static_cast<std::uint8_t>(ESaDetector::Mean) ? static_cast<ESaDetector>(code)
                                                                  : ESaDetector::Largest) {}

void CSaDetector::Begin(double pointFrequency) {
    pointFrequency_ = pointFrequency;
    count_ = 0;
    sum_ = 0;
}

void CSaDetector::Add(double value, double binFrequency) {
    const double distance = std::abs(binFrequency - pointFrequency_);
    if (count_ == 0) {
        first_ = smallest_ = nearest_ = value;
        // After a point that gave its smallest value, the next point's
        // largest continues from that point's largest.
        largest_ = carriedLargest_ ? std::max(*carriedLargest_, value) : value;
        carriedLargest_.reset();
        nearestDistance_ = distance;
    } else {
        largest_ = std::max(largest_, value);
        smallest_ = std::min(smallest_, value);
        if (distance < nearestDistance_) {
            nearest_ = value;
            nearestDistance_ = distance;
        }
    }
    sum_ += value;
    ++count_;
}

double CSaDetector::Finish() {
    const std::uint64_t count = count_;
    count_ = 0;
    if (count == 0) return 0;
    switch (kind_) {
    case ESaDetector::Nearest: return nearest_;
    case ESaDetector::Largest: return largest_;
    case ESaDetector::Smallest: return smallest_;
    case ESaDetector::FirstBin: return first_;
    case ESaDetector::Mean: return sum_ / static_cast<double>(count);
    case ESaDetector::Alternating:
        toggle_ = !toggle_;
        if (toggle_ && largest_ > first_ && smallest_ < first_) {
            carriedLargest_ = largest_;
            return smallest_;
        }
        return largest_;
    }
    return largest_;
}

}  // namespace kv

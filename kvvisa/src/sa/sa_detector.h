// The display detector: merges the bins that fall into one output point.
// Its state belongs to one run, so concurrent sessions never share it.
#pragma once

#include <cstdint>
#include <optional>

namespace kv {

enum class ESaDetector : std::uint8_t {
    Nearest = 0,     // the bin nearest the point's frequency
    Alternating = 1, // largest, or smallest on alternate points that swing both ways
    Largest = 2,
    Smallest = 3,
    FirstBin = 4,
    Mean = 5,
};

class CSaDetector {
public:
    // Unknown detector codes merge as Largest.
    explicit CSaDetector(std::uint8_t code);

    // Starts a point whose frequency is `pointFrequency`.
    void Begin(double pointFrequency);
    // One bin of the current point.
    void Add(double value, double binFrequency);
    bool Empty() const { return count_ == 0; }
    // The current point's value; the detector then waits for the next Begin.
    double Finish();

private:
    ESaDetector kind_;
    double pointFrequency_ = 0;
    std::uint64_t count_ = 0;
    double first_ = 0;
    double largest_ = 0;
    double smallest_ = 0;
    double sum_ = 0;
    double nearest_ = 0;
    double nearestDistance_ = 0;
    bool toggle_ = false;
    std::optional<double> carriedLargest_;
};

}  // namespace kv

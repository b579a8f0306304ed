// Unscaled complex transforms through FFTW: one plan per size and direction,
// made the first time it is needed and reused for every later transform.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

namespace kv {

using Complex = std::complex<double>;

// Complex numbers in memory FFTW's plans were made for (its own alignment).
class CAlignedSamples {
public:
    CAlignedSamples() = default;
    explicit CAlignedSamples(std::size_t size);
    ~CAlignedSamples();
    CAlignedSamples(CAlignedSamples&& other) noexcept;
    CAlignedSamples& operator=(CAlignedSamples&& other) noexcept;
    CAlignedSamples(const CAlignedSamples&) = delete;
    CAlignedSamples& operator=(const CAlignedSamples&) = delete;

    Complex* data() { return data_; }
    const Complex* data() const { return data_; }
    std::size_t size() const { return size_; }
    Complex& operator[](std::size_t i) { return data_[i]; }
    const Complex& operator[](std::size_t i) const { return data_[i]; }

private:
    Complex* data_ = nullptr;
    std::size_t size_ = 0;
};

class CFftPlans {
public:
    CFftPlans();
    ~CFftPlans();
    CFftPlans(const CFftPlans&) = delete;
    CFftPlans& operator=(const CFftPlans&) = delete;

    // In place on `data` (CAlignedSamples memory, at least `size` entries):
    // X[k] = sum x[n] exp(-2 pi j nk / size), and its conjugate-twiddle
    // twin; neither divides by the size.
    void Forward(CAlignedSamples& data, std::uint32_t size);
    void Backward(CAlignedSamples& data, std::uint32_t size);

private:
    struct SPlan;
    SPlan& PlanFor(std::uint32_t size, int direction);
    std::map<std::pair<std::uint32_t, int>, std::unique_ptr<SPlan>> plans_;
    struct SRecent {
        std::uint32_t size = 0;
        int direction = 0;
        SPlan* plan = nullptr;
    };
    SRecent recent_[2];  // the last forward and the last backward plan
};

}  // namespace kv

// The powers one acquisition adds to a segment: windowed samples summed
// (zero span), transformed (FFT) or zoomed (chirp-z). Averaging over the
// acquisitions is in the window's scale; each call adds to `power`.
#pragma once

#include <cstdint>
#include <vector>

#include "sa_fft.h"

namespace kv {

// |sum w[n] x[n]|^2 into power[0].
void AccumulateZeroSpan(const CAlignedSamples& samples, const std::vector<double>& window, double& power);

// The bins -half .. +half around the tuned frequency (2 * half + 1 of them,
// lowest frequency first) of the zero-padded transform of size `fftSize`.
class CSaFftSpectrum {
public:
    CSaFftSpectrum(CFftPlans& plans, std::uint32_t fftSize, std::uint32_t half);
    void Accumulate(const CAlignedSamples& samples, const std::vector<double>& window, std::vector<double>& power);
    std::uint32_t Bins() const { return 2 * half_ + 1; }

private:
    CFftPlans& plans_;
    std::uint32_t fftSize_;
    std::uint32_t half_;
    CAlignedSamples work_;
};

// `bins` bins starting `offset` Hz above the tuned frequency, `spacing` Hz
// apart, from `samples` samples at the receiver's rate; the same scale as
// CSaFftSpectrum's bins. The chirps are kept for the same parameters.
class CSaZoom {
public:
    CSaZoom(CFftPlans& plans, std::uint32_t samples, std::uint32_t bins, double offset, double spacing);
    bool Matches(std::uint32_t samples, std::uint32_t bins, double offset, double spacing) const;
    void Accumulate(const CAlignedSamples& samples, const std::vector<double>& window, std::vector<double>& power);
    std::uint32_t TransformSize() const { return size_; }

private:
    CFftPlans& plans_;
    std::uint32_t samples_;
    std::uint32_t bins_;
    double offset_;
    double spacing_;
    std::uint32_t size_;           // L: a power of two >= samples + bins - 1
    CAlignedSamples premultiplier_;  // exp(-j (2 pi a n + pi b n^2))
    CAlignedSamples filter_;         // transform of the chirp exp(+j pi b k^2)
    CAlignedSamples work_;
};

}  // namespace kv

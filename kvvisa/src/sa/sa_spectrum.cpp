#include "sa_spectrum.h"

#include <cmath>
#include <numbers>

#include "kvproto/receiver_params.h"

namespace kv {

namespace {

std::uint32_t PowerOfTwoAtLeast(std::uint64_t n) {
    std::uint32_t p = 1;
    while (p < n) p <<= 1;
    return p;
}

// exp(j * sign * pi * b * n^2), with n^2 reduced first so long acquisitions
// keep their phase exact.
Complex Chirp(double b, std::uint64_t n, double sign) {
    const double phase = std::fmod(b * static_cast<double>(n * n), 2.0);
    return std::polar(1.0, sign * std::numbers::pi * phase);
}

}  // namespace

void AccumulateZeroSpan(const CAlignedSamples& samples, const std::vector<double>& window, double& power) {
    Complex sum = 0;
    for (std::size_t n = 0; n < window.size(); ++n) sum += window[n] * samples[n];
    power += std::norm(sum);
}

CSaFftSpectrum::CSaFftSpectrum(CFftPlans& plans, std::uint32_t fftSize, std::uint32_t half)
    : plans_(plans), fftSize_(fftSize), half_(half), work_(fftSize) {}

void CSaFftSpectrum::Accumulate(const CAlignedSamples& samples, const std::vector<double>& window,
                                std::vector<double>& power) {
    const std::size_t n = window.size();
    for (std::size_t i = 0; i < n; ++i) work_[i] = window[i] * samples[i];
    for (std::size_t i = n; i < fftSize_; ++i) work_[i] = 0;
    plans_.Forward(work_, fftSize_);
    power.resize(Bins());
    for (std::uint32_t b = 0; b < Bins(); ++b) {
        // Bin -half is the lowest frequency; negative bins sit at the top.
        const std::int64_t k = static_cast<std::int64_t>(b) - half_;
        const std::size_t index = static_cast<std::size_t>((k + fftSize_) % fftSize_);
        power[b] += std::norm(work_[index]);
    }
}

CSaZoom::CSaZoom(CFftPlans& plans, std::uint32_t samples, std::uint32_t bins, double offset, double spacing)
    : plans_(plans), samples_(samples), bins_(bins), offset_(offset), spacing_(spacing),
      size_(PowerOfTwoAtLeast(std::uint64_t{samples} + bins - 1)), premultiplier_(samples), filter_(size_),
      work_(size_) {
    const double a = offset / kvproto::kSampleRate;
    const double b = spacing / kvproto::kSampleRate;
    for (std::uint32_t n = 0; n < samples; ++n) {
        const double shift = std::fmod(a * n, 1.0);
        premultiplier_[n] = std::polar(1.0, -2 * std::numbers::pi * shift) * Chirp(b, n, -1);
    }
    // The chirp for lags 0 .. bins-1 at the start and -(samples-1) .. -1 at the end.
    for (std::uint32_t k = 0; k < bins; ++k) filter_[k] = Chirp(b, k, +1);
    for (std::uint32_t k = 1; k < samples; ++k) filter_[size_ - k] = Chirp(b, k, +1);
    plans_.Forward(filter_, size_);
}

bool CSaZoom::Matches(std::uint32_t samples, std::uint32_t bins, double offset, double spacing) const {
    return samples == samples_ && bins == bins_ && offset == offset_ && spacing == spacing_;
}

void CSaZoom::Accumulate(const CAlignedSamples& samples, const std::vector<double>& window,
                         std::vector<double>& power) {
    for (std::uint32_t n = 0; n < samples_; ++n) work_[n] = window[n] * samples[n] * premultiplier_[n];
    for (std::uint32_t n = samples_; n < size_; ++n) work_[n] = 0;
    plans_.Forward(work_, size_);
    for (std::uint32_t i = 0; i < size_; ++i) work_[i] *= filter_[i];
    plans_.Backward(work_, size_);
    // The unscaled inverse leaves a factor L; the closing chirp only turns
    // the phase, which a power does not see.
    const double unscale = 1.0 / (static_cast<double>(size_) * size_);
    power.resize(bins_);
    for (std::uint32_t k = 0; k < bins_; ++k) power[k] += std::norm(work_[k]) * unscale;
}

}  // namespace kv

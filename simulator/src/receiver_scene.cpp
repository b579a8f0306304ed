#include "receiver_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "kvproto/receiver_params.h"

namespace z5rsim {

namespace {

std::int32_t Saturated(double value) {
    const double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::round(value), -limit, limit));
}

}  // namespace

CReceiverSignal::CReceiverSignal(const SReceiverScene& scene) : scene_(scene), random_(scene.seed), phases_(scene.tones.size()) {}

void CReceiverSignal::Samples(double tuned, std::uint32_t offset, std::uint32_t count, std::vector<std::int32_t>& iq) {
    std::uniform_real_distribution<double> phase(0, 2 * std::numbers::pi);
    if (offset == 0) {
        for (double& p : phases_) p = phase(random_);
    }
    const double gain = std::pow(10.0, -scene_.attenuation / 20);
    const double sigma = scene_.noiseLevel ? std::sqrt(std::pow(10.0, *scene_.noiseLevel / 10) / 2) * gain : 0;
    std::normal_distribution<double> noise(0, sigma > 0 ? sigma : 1);
    iq.assign(2 * std::size_t{count}, 0);
    std::vector<std::complex<double>> sum(count);
    for (std::size_t t = 0; t < scene_.tones.size(); ++t) {
        const STone& tone = scene_.tones[t];
        const double amplitude = std::pow(10.0, tone.level / 20) * gain;
        const double cycles = (tone.frequency - tuned) / kvproto::kSampleRate;
        for (std::uint32_t i = 0; i < count; ++i) {
            const double turns = std::fmod(cycles * (offset + i), 1.0);
            sum[i] += std::polar(amplitude, phases_[t] + 2 * std::numbers::pi * turns);
        }
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        std::complex<double> s = sum[i];
        if (sigma > 0) s += std::complex<double>(noise(random_), noise(random_));
        iq[2 * i] = Saturated(s.real());
        iq[2 * i + 1] = Saturated(s.imag());
    }
}

double CReceiverSignal::PowerAround(double frequency, double width) const {
    double power = scene_.noiseLevel ? std::pow(10.0, *scene_.noiseLevel / 10) : 0;
    for (const STone& tone : scene_.tones) {
        if (std::abs(tone.frequency - frequency) <= width / 2) power += std::pow(10.0, tone.level / 10);
    }
    return power;
}

}  // namespace z5rsim

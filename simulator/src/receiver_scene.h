// What the simulated receiver's input sees: tones at absolute frequencies with
// levels in dB, a noise floor, and the attenuation it reports as P_LOG_KOEF.
// A level L dB is a complex tone of amplitude 10^(L/20) sample units (before
// the attenuation); a noise floor L dB is complex Gaussian noise of that power
// per sample.
#pragma once

#include <complex>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace z5rsim {

struct STone {
    double frequency = 0;  // Hz
    double level = 0;      // dB
};

struct SReceiverScene {
    std::vector<STone> tones;
    std::optional<double> noiseLevel;  // dB; none: a clean input
    std::uint64_t seed = 1;
    double attenuation = 0;  // dB, taken off before sampling
};

// Raw samples of the scene as the receiver delivers them tuned to a frequency:
// 781250 complex samples a second, signed 32-bit I and Q.
class CReceiverSignal {
public:
    explicit CReceiverSignal(const SReceiverScene& scene);
    // Samples `offset` .. `offset + count - 1` of an acquisition; offset 0
    // begins a new acquisition, whose tones start at fresh phases.
    void Samples(double tuned, std::uint32_t offset, std::uint32_t count, std::vector<std::int32_t>& iq);
    // The power of the scene within `width` Hz around `frequency`, in sample
    // units squared (what the receiver reports when it measures itself).
    double PowerAround(double frequency, double width) const;

private:
    SReceiverScene scene_;
    std::mt19937_64 random_;
    std::vector<double> phases_;
};

}  // namespace z5rsim

// How a narrow-band set-up is measured in software: the method, the sizes
// that follow from the bandwidth, and the segments the receiver is tuned to.
// Pure arithmetic; the session carries it out.
#pragma once

#include <cstdint>
#include <vector>

#include "sa_settings.h"

namespace kv {

enum class ESaMethod { ZeroSpan, Fft, ChirpZ };

// The widest bandwidth measured in software; wider ones the receiver measures.
inline constexpr std::uint32_t kSaMaxSoftwareBandwidth = 1000;
// The narrowest bandwidth measured: it bounds an acquisition to 156250
// samples and every transform to 2^18 points (a few MiB per session).
inline constexpr std::uint32_t kSaMinBandwidth = 10;
// The answer's BodyLen (16 bits) holds 12 bytes a point plus 2.
inline constexpr std::uint64_t kSaMaxPoints = (0xFFFF - 2) / 12;
inline constexpr std::uint8_t kSaMaxAveraging = 10;
// Segments of one run at most (each at least one acquisition).
inline constexpr std::size_t kSaMaxSegments = 100000;

// Sizes that follow from the bandwidth B.
struct SSaSizes {
    std::uint32_t samples = 0;    // N = 1562500 / B
    std::uint32_t fftSize = 0;    // smallest power of two >= N
    double binSpacing = 0;        // 781250 / Nfft, Hz
};
SSaSizes SizesFor(std::uint32_t bandwidth);

// One tuning of the receiver and what is taken from it.
struct SSaSegment {
    ESaMethod method = ESaMethod::ZeroSpan;
    std::uint64_t tuned = 0;     // the frequency set on the receiver, Hz
    std::uint32_t firstPoint = 0;
    std::uint32_t points = 0;    // output points it yields (FFT: those it reaches)
    // Chirp-z: the first output bin's offset from the tuned frequency, Hz.
    double offset = 0;
    // FFT: the bins it contributes lie in [low, high).
    double low = 0;
    double high = 0;
};

struct SSaPlan {
    // 0 when measurable, else the status the run answer carries.
    std::int16_t refusal = 0;
    ESaMethod method = ESaMethod::ZeroSpan;
    SSaSizes sizes;
    std::uint32_t points = 0;        // P
    std::uint32_t acquisitions = 1;  // 2^p
    std::uint32_t zoomBins = 1;      // chirp-z: M
    std::uint32_t fftBins = 0;       // FFT: K
    std::uint32_t segmentWidth = 0;  // FFT: Hz
    double step = 0;
    std::vector<double> pointFrequency;  // P entries
    std::vector<SSaSegment> segments;
};

// True when the session, not the receiver, measures this set-up.
bool MeasuredInSoftware(const SSaSettings& settings);

// The plan for a complete set-up that is measured in software.
SSaPlan MakePlan(const SSaSettings& settings);

// The output point a bin at `frequency` belongs to (the nearest), or -1 when
// it lies outside every point's half-step neighbourhood.
std::int64_t NearestPoint(const SSaPlan& plan, double frequency);

}  // namespace kv

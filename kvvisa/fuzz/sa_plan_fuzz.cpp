// Arbitrary measurement set-ups through the plan: refused, or a plan whose
// segments stay within its points and sizes, and whose every point is
// reached once (zero span and chirp-z) or covered by a segment (FFT).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sa/sa_plan.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::uint64_t Take(const std::uint8_t*& data, std::size_t& size, unsigned bytes) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < bytes && size > 0; ++i, --size) value |= std::uint64_t{*data++} << (8 * i);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::SSaSettings s;
    s.known = kv::kKnownAll;
    s.requestedMode = s.currentMode = 15;
    s.bandwidth = static_cast<std::uint32_t>(Take(data, size, 2));
    s.averaging = static_cast<std::uint8_t>(Take(data, size, 1) % 16);
    s.detector = static_cast<std::uint8_t>(Take(data, size, 1));
    // Frequencies as the wire carries them (48 bits); point counts kept
    // small enough to check them one by one.
    s.plan.start = Take(data, size, 6);
    s.plan.points = Take(data, size, 2);
    s.plan.zeroSpanAdvance = Take(data, size, 3);
    s.plan.step = Take(data, size, 3);
    s.plan.stop = s.plan.start + (s.plan.points > 0 ? (s.plan.points - 1) * s.plan.step : 0) + Take(data, size, 1);
    s.plan.value6 = Take(data, size, 1);
    if (!kv::MeasuredInSoftware(s)) return 0;
    const kv::SSaPlan plan = kv::MakePlan(s);
    if (plan.refusal != 0) return 0;
    Require(plan.sizes.samples > 0 && plan.sizes.fftSize >= plan.sizes.samples, "sizes");
    Require(plan.segments.size() <= kv::kSaMaxSegments, "segments bounded");
    std::vector<int> reached(plan.points, 0);
    for (const kv::SSaSegment& segment : plan.segments) {
        if (segment.method == kv::ESaMethod::Fft) {
            Require(segment.high > segment.low, "an FFT segment spans something");
            continue;
        }
        Require(segment.firstPoint + segment.points <= plan.points, "segment within the points");
        for (std::uint32_t k = 0; k < segment.points; ++k) ++reached[segment.firstPoint + k];
    }
    if (plan.method != kv::ESaMethod::Fft) {
        for (int count : reached) Require(count == 1, "every point reached once");
    }
    // Grid plans: each point's own frequency finds that point.
    if (plan.method == kv::ESaMethod::ZeroSpan) return 0;
    for (std::uint32_t j = 0; j < plan.points; ++j) {
        Require(kv::NearestPoint(plan, plan.pointFrequency[j]) == static_cast<std::int64_t>(j), "a point's own frequency finds it");
    }
    return 0;
}

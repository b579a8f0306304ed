#include "sa_plan.h"

#include <algorithm>
#include <cmath>

#include "kvproto/receiver_params.h"

namespace kv {

namespace {

constexpr std::int16_t kParameterIncorrect = -32765;  // KV_PARAMETER_INCORRECT
constexpr std::uint32_t kSamplesTimesBandwidth = 1562500;
// Each segment spans about this much, Hz.
constexpr double kSegmentSpan = 10000;
// Chirp-z bins start this far above the tuned frequency, clear of the
// receiver's own zero-frequency leakage.
constexpr double kZoomOffset = 5000;
constexpr std::uint8_t kDetectorFirstBin = 4;

std::uint32_t PowerOfTwoAtLeast(std::uint64_t n) {
    std::uint32_t p = 1;
    while (p < n) p <<= 1;
    return p;
}

// Zero span suits few points per segment, the more so the narrower the band.
bool ZeroSpanSuits(std::uint32_t bandwidth, std::uint32_t perSegment, double step) {
    if (perSegment == 1 || step == 0) return true;
    return (bandwidth <= 10 && perSegment <= 7) || (bandwidth <= 30 && perSegment <= 5) ||
           (bandwidth <= 300 && perSegment <= 4) || (bandwidth <= 1000 && perSegment <= 2);
}

SSaSegment ZeroSpanSegment(const SSaPlan& plan, std::uint32_t point) {
    SSaSegment segment;
    segment.method = ESaMethod::ZeroSpan;
    segment.tuned = static_cast<std::uint64_t>(std::llround(plan.pointFrequency[point]));
    segment.firstPoint = point;
    segment.points = 1;
    return segment;
}

void PlanZeroSpan(SSaPlan& plan, const SSaFrequencyPlan& f) {
    plan.method = ESaMethod::ZeroSpan;
    for (std::uint32_t j = 0; j < plan.points; ++j) {
        plan.pointFrequency[j] = static_cast<double>(f.start) + static_cast<double>(j) * static_cast<double>(f.zeroSpanAdvance);
    }
    if (plan.points > 1) plan.pointFrequency.back() = static_cast<double>(f.stop);
    for (std::uint32_t j = 0; j < plan.points; ++j) plan.segments.push_back(ZeroSpanSegment(plan, j));
}

// False when the stop frequency lies below the grid's second-last point:
// the points would not ascend.
bool GridPoints(SSaPlan& plan, const SSaFrequencyPlan& f) {
    for (std::uint32_t j = 0; j < plan.points; ++j) {
        plan.pointFrequency[j] = static_cast<double>(f.start) + static_cast<double>(j) * plan.step;
    }
    if (plan.points < 2) return true;
    // The last point is the stop frequency, on the grid or not.
    plan.pointFrequency.back() = static_cast<double>(f.stop);
    if (plan.pointFrequency.back() > plan.pointFrequency[plan.points - 2]) return true;
    plan.refusal = kParameterIncorrect;
    return false;
}

bool LastPointOnGrid(const SSaPlan& plan, const SSaFrequencyPlan& f) {
    return static_cast<double>(f.start) + static_cast<double>(plan.points - 1) * plan.step == static_cast<double>(f.stop);
}

void PlanChirpZ(SSaPlan& plan, const SSaFrequencyPlan& f) {
    plan.method = ESaMethod::ChirpZ;
    if (!GridPoints(plan, f)) return;
    // Points the zoom covers; an off-grid stop point and a lone last point
    // are measured at their own frequency.
    std::uint32_t zoomed = LastPointOnGrid(plan, f) ? plan.points : plan.points - 1;
    if (zoomed % plan.zoomBins == 1) --zoomed;
    for (std::uint32_t first = 0; first < zoomed; first += plan.zoomBins) {
        SSaSegment segment;
        segment.method = ESaMethod::ChirpZ;
        segment.firstPoint = first;
        segment.points = std::min(plan.zoomBins, zoomed - first);
        const double at = plan.pointFrequency[first];
        segment.offset = std::min(kZoomOffset, at);
        segment.tuned = static_cast<std::uint64_t>(std::llround(at - segment.offset));
        segment.offset = at - static_cast<double>(segment.tuned);
        plan.segments.push_back(segment);
    }
    for (std::uint32_t j = zoomed; j < plan.points; ++j) plan.segments.push_back(ZeroSpanSegment(plan, j));
}

void PlanFft(SSaPlan& plan, const SSaFrequencyPlan& f) {
    plan.method = ESaMethod::Fft;
    if (!GridPoints(plan, f)) return;
    const double bins = std::ceil(static_cast<double>(plan.sizes.fftSize) * kSegmentSpan / kvproto::kSampleRate);
    plan.fftBins = static_cast<std::uint32_t>(bins);
    if (plan.fftBins % 2 != 0) ++plan.fftBins;
    plan.segmentWidth = static_cast<std::uint32_t>(std::floor(plan.fftBins * plan.sizes.binSpacing));
    // Segments tile [first point - step/2, last point + step/2) edge to edge.
    const double low = plan.pointFrequency.front() - plan.step / 2;
    const double high = plan.pointFrequency.back() + plan.step / 2;
    const double width = plan.segmentWidth;
    const double count = std::ceil((high - low) / width);
    if (count > static_cast<double>(kSaMaxSegments)) {
        plan.refusal = kParameterIncorrect;
        return;
    }
    for (std::size_t s = 0; s < static_cast<std::size_t>(count); ++s) {
        SSaSegment segment;
        segment.method = ESaMethod::Fft;
        segment.low = low + static_cast<double>(s) * width;
        segment.high = std::min(high, segment.low + width);
        segment.tuned = static_cast<std::uint64_t>(std::llround(std::max(0.0, segment.low + width / 2)));
        const std::int64_t first = std::max<std::int64_t>(0, NearestPoint(plan, segment.low));
        segment.firstPoint = static_cast<std::uint32_t>(first);
        plan.segments.push_back(segment);
    }
}

}  // namespace

SSaSizes SizesFor(std::uint32_t bandwidth) {
    SSaSizes sizes;
    if (bandwidth == 0) return sizes;
    sizes.samples = kSamplesTimesBandwidth / bandwidth;
    sizes.fftSize = PowerOfTwoAtLeast(std::max<std::uint32_t>(sizes.samples, 1));
    sizes.binSpacing = kvproto::kSampleRate / sizes.fftSize;
    return sizes;
}

bool MeasuredInSoftware(const SSaSettings& settings) {
    return settings.requestedMode == kvproto::kModeNarrowBand && settings.bandwidth <= kSaMaxSoftwareBandwidth;
}

SSaPlan MakePlan(const SSaSettings& settings) {
    SSaPlan plan;
    const SSaFrequencyPlan& f = settings.plan;
    const bool measurable = settings.bandwidth >= kSaMinBandwidth && f.points > 0 && f.points <= kSaMaxPoints &&
                            f.stop >= f.start && settings.averaging <= kSaMaxAveraging;
    if (!measurable) {
        plan.refusal = kParameterIncorrect;
        return plan;
    }
    plan.sizes = SizesFor(settings.bandwidth);
    plan.points = static_cast<std::uint32_t>(f.points);
    plan.acquisitions = 1u << settings.averaging;
    plan.step = static_cast<double>(f.step);
    plan.pointFrequency.assign(plan.points, 0.0);

    const bool narrowStep = f.step <= settings.bandwidth || settings.detector == kDetectorFirstBin || f.value6 < 2;
    if (!narrowStep) {
        PlanFft(plan, f);
        return plan;
    }
    std::uint32_t perSegment = 1;
    if (f.step != 0 && f.step <= kSegmentSpan) perSegment = static_cast<std::uint32_t>(kSegmentSpan / static_cast<double>(f.step)) + 1;
    perSegment = std::min(perSegment, plan.points);
    plan.zoomBins = perSegment;
    if (ZeroSpanSuits(settings.bandwidth, perSegment, plan.step)) {
        PlanZeroSpan(plan, f);
    } else {
        PlanChirpZ(plan, f);
    }
    return plan;
}

std::int64_t NearestPoint(const SSaPlan& plan, double frequency) {
    if (plan.points == 0) return -1;
    const double half = plan.step / 2;
    if (frequency < plan.pointFrequency.front() - half || frequency > plan.pointFrequency.back() + half) return -1;
    if (plan.points == 1 || plan.step <= 0) return 0;
    const double grid = std::round((frequency - plan.pointFrequency.front()) / plan.step);
    auto j = static_cast<std::int64_t>(std::clamp(grid, 0.0, static_cast<double>(plan.points - 2)));
    const double last = plan.pointFrequency.back();
    if (std::abs(frequency - last) < std::abs(frequency - plan.pointFrequency[static_cast<std::size_t>(j)])) {
        j = plan.points - 1;
    }
    return j;
}

}  // namespace kv

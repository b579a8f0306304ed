#include "sa_measurement.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "kvproto/dictionary.h"
#include "kvproto/packet.h"
#include "kvproto/packet_io.h"
#include "kvproto/receiver_params.h"
#include "kvproto/value_codec.h"
#include "report.h"
#include "sa_detector.h"
#include "sa_point.h"
#include "sa_window.h"

namespace kv {

namespace {

constexpr std::uint32_t kDataTimeoutMs = 2000;
// The answers asked for ahead of the ones being read stay about this large,
// whole acquisitions at a time (at least two, so the receiver is never idle
// while one is read): a receiver that answers a batch of requests at once
// must not keep the next data packet back past its time-out.
constexpr std::size_t kMaxAheadAnswerBytes = 2 * 1024 * 1024;
constexpr std::uint32_t kMinAcquisitionsAhead = 2;
constexpr std::uint32_t kSampleAlignment = 4;
constexpr std::size_t kBytesPerSamplePair = 8;
constexpr std::size_t kSegmentHeadAnswers = 2;  // the frequency and the attenuation

const char* const kErrorCaption = "Ошибка в приборе";
const char* const kParameterErrorText = "Прибор вернул пакет с ошибкой:\r\n";
const char* const kDataErrorText = "Прибор вернул пакет с ошибкой ";

void ReportInstrumentError(const char* text, std::int16_t status) {
    const std::string message = std::string(kErrorCaption) + ": " + text + kvproto::StatusText(status);
    ReportProblem(message.c_str());
}

std::int32_t Int32At(const std::uint8_t* bytes) {
    const std::uint32_t u = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
                            std::uint32_t{bytes[3]} << 24;
    return static_cast<std::int32_t>(u);
}

// The sample counts of one acquisition's requests.
template <typename Each>
void ForEachPiece(std::uint32_t count, Each&& each) {
    for (std::uint32_t offset = 0; offset < count;) {
        std::uint32_t piece = std::min(count - offset, kvproto::kMaxSamplesPerRequest);
        piece = std::max(kSampleAlignment, piece / kSampleAlignment * kSampleAlignment);
        each(offset, piece);
        offset += piece;
    }
}

}  // namespace

struct CSaMeasurement::SRun {
    SRun(ISaLink& l, const SSaPlan& p, std::uint8_t detectorCode, std::uint32_t timeout, std::uint8_t* out)
        : link(l), plan(p), detector(detectorCode), timeoutMs(timeout), points(out) {}

    ISaLink& link;
    const SSaPlan& plan;
    CSaDetector detector;
    std::uint32_t timeoutMs;
    std::uint8_t* points;
    std::int16_t lastStatus = 0;
    std::size_t outstanding = 0;  // answers sent for and not yet read
    double attenuation = 0;       // dB, of the segment being read
    // The requests of one acquisition, and how many of the current
    // segment's acquisitions have been asked for.
    std::vector<std::uint8_t> acquisition;
    std::size_t acquisitionAnswers = 0;
    std::uint32_t requested = 0;
    std::int64_t currentPoint = -1;  // the point the detector is gathering
    std::uint32_t written = 0;
    double lastValue = 0;

    void Write(std::uint32_t point, double value) {
        // Points nothing fell into repeat the value before them.
        while (written < point) WritePoint(PointOf(lastValue), points + kvproto::kMeasuredPointSize * written++);
        WritePoint(PointOf(value), points + kvproto::kMeasuredPointSize * point);
        written = point + 1;
        lastValue = value;
    }
    void FinishPoint() {
        if (currentPoint >= 0 && !detector.Empty()) Write(static_cast<std::uint32_t>(currentPoint), detector.Finish());
    }
    // Asks for `count` more acquisitions of the current segment.
    ViStatus Request(std::uint32_t count, std::vector<std::uint8_t> bytes = {}) {
        for (std::uint32_t i = 0; i < count; ++i) bytes.insert(bytes.end(), acquisition.begin(), acquisition.end());
        if (bytes.empty()) return VI_SUCCESS;
        const ViStatus status = link.Send(bytes);
        if (status != VI_SUCCESS) return status;
        outstanding += count * acquisitionAnswers;
        requested += count;
        return VI_SUCCESS;
    }
    ViStatus Receive(std::vector<std::uint8_t>& packet, std::uint32_t timeout) {
        const ViStatus status = link.Receive(packet, timeout);
        if (status == VI_SUCCESS && outstanding > 0) --outstanding;
        return status;
    }
};

std::vector<std::uint8_t> CSaMeasurement::ParameterRequest(std::uint16_t command, std::uint16_t param,
                                                           const std::vector<double>& values, std::uint8_t flagB) {
    return kvproto::BuildParameterPacket(command, param, values, flagB);
}

ViStatus CSaMeasurement::ReceiveParameter(ISaLink& link, std::uint32_t timeoutMs, std::uint16_t param,
                                          std::int16_t& status, double* first, double* second) {
    std::vector<std::uint8_t> packet;
    const ViStatus received = link.Receive(packet, timeoutMs);
    if (received != VI_SUCCESS) return received;
    const kvproto::PacketHeader header = kvproto::DecodeHeader(packet.data());
    status = header.status;
    if (header.status < 0) {
        ReportInstrumentError(kParameterErrorText, header.status);
        return header.status;
    }
    const unsigned width = kvproto::BytesPerValue(header.flagB);
    const std::size_t body = packet.size() - kvproto::kHeaderSize;
    const std::uint8_t* bytes = packet.data() + kvproto::kHeaderSize;
    // An answer to another parameter, or one too short for what it must
    // carry, means the answers are out of step with the requests.
    const std::size_t wanted = 2 + std::size_t{width} * (second != nullptr ? 2 : first != nullptr ? 1 : 0);
    if (body < 2 || (bytes[0] | bytes[1] << 8) != param || body < wanted || (wanted > 2 && width == 0)) {
        return VI_ERROR_RAW_RD_PROT_VIOL;
    }
    if (first != nullptr) *first = kvproto::DecodeValue(bytes + 2, header.flagB);
    if (second != nullptr) *second = kvproto::DecodeValue(bytes + 2 + width, header.flagB);
    return VI_SUCCESS;
}

std::vector<std::uint8_t> CSaMeasurement::SegmentHead(const SSaSegment& segment) {
    std::vector<std::uint8_t> bytes = ParameterRequest(kvproto::KV_SET, kvproto::kParamReceiverFrequency,
                                                       {static_cast<double>(segment.tuned)}, kvproto::kFormatFrequency);
    const std::vector<std::uint8_t> attenuation =
        ParameterRequest(kvproto::KV_GET, kvproto::kParamLogCoefficient, {0}, kvproto::kFormatLogCoefficient);
    bytes.insert(bytes.end(), attenuation.begin(), attenuation.end());
    return bytes;
}

std::vector<std::uint8_t> CSaMeasurement::AcquisitionRequests(const SSaPlan& plan, std::size_t& answers) {
    std::vector<std::uint8_t> bytes;
    kvproto::PacketHeader run;
    run.command = kvproto::KV_RUN;
    const auto runHeader = kvproto::EncodeHeader(run);
    answers = 0;
    ForEachPiece(plan.sizes.samples, [&](std::uint32_t offset, std::uint32_t piece) {
        const std::vector<std::uint8_t> clock =
            ParameterRequest(kvproto::KV_SET, kvproto::kParamSampleClock,
                             {static_cast<double>(offset), static_cast<double>(piece), 1}, kvproto::kFormatSampleClock);
        bytes.insert(bytes.end(), clock.begin(), clock.end());
        bytes.insert(bytes.end(), runHeader.begin(), runHeader.end());
        answers += 2;
    });
    return bytes;
}

const std::vector<double>& CSaMeasurement::WindowFor(const SSaPlan& plan) {
    if (windowLength_ != plan.sizes.samples || windowAcquisitions_ != plan.acquisitions ||
        windowSize_ != plan.sizes.fftSize) {
        // Every method normalises to the FFT's size, so a tone's level does
        // not depend on the method that measured it.
        window_ = BlackmanNuttallWindow(plan.sizes.samples, plan.acquisitions, plan.sizes.fftSize);
        windowLength_ = plan.sizes.samples;
        windowAcquisitions_ = plan.acquisitions;
        windowSize_ = plan.sizes.fftSize;
    }
    return window_;
}

ViStatus CSaMeasurement::GetSamples(SRun& run, std::uint32_t count) {
    std::uint32_t stored = 0;
    ViStatus failure = VI_SUCCESS;
    ForEachPiece(count, [&](std::uint32_t, std::uint32_t piece) {
        if (failure != VI_SUCCESS) return;
        double offset = 0, pairs = 0;
        std::int16_t status = 0;
        failure = ReceiveParameter(run.link, run.timeoutMs, kvproto::kParamSampleClock, status, &offset, &pairs);
        if (run.outstanding > 0) --run.outstanding;
        run.lastStatus = status;
        if (failure != VI_SUCCESS) return;
        // Exactly the pairs asked for: more would overrun the acquisition,
        // fewer would leave it with a gap.
        if (pairs != piece) {
            failure = VI_ERROR_RAW_RD_PROT_VIOL;
            return;
        }
        std::vector<std::uint8_t> packet;
        failure = run.Receive(packet, kDataTimeoutMs);
        if (failure != VI_SUCCESS) return;
        const kvproto::PacketHeader header = kvproto::DecodeHeader(packet.data());
        run.lastStatus = header.status;
        if (header.status < 0) {
            ReportInstrumentError(kDataErrorText, header.status);
            failure = header.status;
            return;
        }
        if (header.command != kvproto::KV_RUN || packet.size() - kvproto::kHeaderSize < kBytesPerSamplePair * piece) {
            failure = VI_ERROR_RAW_RD_PROT_VIOL;
            return;
        }
        const std::uint8_t* body = packet.data() + kvproto::kHeaderSize;
        for (std::uint32_t i = 0; i < piece; ++i) {
            samples_[stored + i] = Complex(Int32At(body + kBytesPerSamplePair * i), Int32At(body + kBytesPerSamplePair * i + 4));
        }
        stored += piece;
    });
    return failure;
}

ViStatus CSaMeasurement::MeasureSegment(SRun& run, const SSaSegment& segment) {
    const SSaPlan& plan = run.plan;
    std::int16_t status = 0;
    ViStatus failure = ReceiveParameter(run.link, run.timeoutMs, kvproto::kParamReceiverFrequency, status);
    if (run.outstanding > 0) --run.outstanding;
    run.lastStatus = status;
    if (failure != VI_SUCCESS) return failure;
    double attenuation = 0;
    failure = ReceiveParameter(run.link, run.timeoutMs, kvproto::kParamLogCoefficient, status, &attenuation);
    if (run.outstanding > 0) --run.outstanding;
    run.lastStatus = status;
    if (failure != VI_SUCCESS) return failure;
    // The level before the receiver's attenuation, as the point's exponent
    // in 1/65536 dB carries it.
    const double restore = std::pow(10.0, std::trunc(attenuation * 65536) / 655360);

    const std::vector<double>& window = WindowFor(plan);
    const std::uint32_t n = plan.sizes.samples;
    double zeroSpanPower = 0;
    binPower_.clear();
    if (segment.method == ESaMethod::Fft) {
        const std::uint32_t half = plan.fftBins / 2;
        if (!spectrum_ || spectrum_->Bins() != 2 * half + 1) spectrum_ = std::make_unique<CSaFftSpectrum>(plans_, plan.sizes.fftSize, half);
        binPower_.assign(spectrum_->Bins(), 0.0);
    } else if (segment.method == ESaMethod::ChirpZ) {
        if (!zoom_ || !zoom_->Matches(n, plan.zoomBins, segment.offset, plan.step)) {
            zoom_ = std::make_unique<CSaZoom>(plans_, n, plan.zoomBins, segment.offset, plan.step);
        }
        binPower_.assign(plan.zoomBins, 0.0);
    }
    for (std::uint32_t a = 0; a < plan.acquisitions; ++a) {
        failure = GetSamples(run, n);
        if (failure != VI_SUCCESS) return failure;
        // One acquisition's answers read: the next one still unasked goes out.
        if (run.requested < plan.acquisitions) {
            failure = run.Request(1);
            if (failure != VI_SUCCESS) return failure;
        }
        switch (segment.method) {
        case ESaMethod::ZeroSpan: AccumulateZeroSpan(samples_, window, zeroSpanPower); break;
        case ESaMethod::Fft: spectrum_->Accumulate(samples_, window, binPower_); break;
        case ESaMethod::ChirpZ: zoom_->Accumulate(samples_, window, binPower_); break;
        }
    }

    switch (segment.method) {
    case ESaMethod::ZeroSpan: run.Write(segment.firstPoint, zeroSpanPower * restore); break;
    case ESaMethod::ChirpZ:
        for (std::uint32_t k = 0; k < segment.points; ++k) run.Write(segment.firstPoint + k, binPower_[k] * restore);
        break;
    case ESaMethod::Fft: {
        const std::int64_t half = plan.fftBins / 2;
        for (std::size_t b = 0; b < binPower_.size(); ++b) {
            const double frequency = static_cast<double>(segment.tuned) + static_cast<double>(static_cast<std::int64_t>(b) - half) * plan.sizes.binSpacing;
            // Each bin counts once: in the segment whose span holds it.
            if (frequency < segment.low || frequency >= segment.high) continue;
            const std::int64_t point = NearestPoint(plan, frequency);
            if (point < 0) continue;
            if (point != run.currentPoint) {
                run.FinishPoint();
                run.currentPoint = point;
                run.detector.Begin(plan.pointFrequency[static_cast<std::size_t>(point)]);
            }
            run.detector.Add(binPower_[b] * restore, frequency);
        }
        break;
    }
    }
    return VI_SUCCESS;
}

SSaRunResult CSaMeasurement::Run(ISaLink& link, const SSaPlan& plan, std::uint8_t detector, std::uint32_t answerTimeoutMs,
                                 std::uint8_t* points) {
    SRun run(link, plan, detector, answerTimeoutMs, points);
    SSaRunResult result;
    // The last request of an acquisition asks for at least 4 pairs, which
    // may run past N; room for them is kept, and only N samples are used.
    const std::size_t room = std::size_t{plan.sizes.samples} + kSampleAlignment;
    if (samples_.size() < room) samples_ = CAlignedSamples(room);
    run.acquisition = AcquisitionRequests(plan, run.acquisitionAnswers);
    // Acquisitions asked for ahead of their answers: a bounded amount of
    // requests in flight, so the receiver never waits on a request stream
    // that waits on it.
    const std::size_t acquisitionAnswerBytes = kBytesPerSamplePair * plan.sizes.samples;
    const auto ahead = static_cast<std::uint32_t>(std::min<std::size_t>(
        std::max<std::size_t>(kMaxAheadAnswerBytes / acquisitionAnswerBytes, kMinAcquisitionsAhead), plan.acquisitions));
    const bool wholeSegmentAhead = acquisitionAnswerBytes * plan.acquisitions <= kMaxAheadAnswerBytes;
    bool nextAsked = false;  // the next segment's requests went out whole
    for (std::size_t s = 0; s < plan.segments.size(); ++s) {
        if (!nextAsked) {
            run.requested = 0;
            run.outstanding += kSegmentHeadAnswers;
            result.status = run.Request(ahead, SegmentHead(plan.segments[s]));
            if (result.status != VI_SUCCESS) break;
        }
        nextAsked = false;
        // While this segment is asked for whole, the next one goes out before
        // this one's answers are read.
        if (s + 1 < plan.segments.size() && run.requested == plan.acquisitions && wholeSegmentAhead) {
            run.requested = 0;
            run.outstanding += kSegmentHeadAnswers;
            result.status = run.Request(plan.acquisitions, SegmentHead(plan.segments[s + 1]));
            if (result.status != VI_SUCCESS) break;
            nextAsked = true;
        }
        result.status = MeasureSegment(run, plan.segments[s]);
        if (result.status != VI_SUCCESS) break;
        if (nextAsked) run.requested = plan.acquisitions;
    }
    if (result.status == VI_SUCCESS) {
        run.FinishPoint();
        // The last value stands for points past the last bin reached.
        while (run.written < plan.points) run.Write(run.written, run.lastValue);
    } else if (result.status < 0 && result.status >= -32768) {
        // The instrument refused: the answers still due are read and
        // dropped, so the next exchange finds the stream in step.
        std::vector<std::uint8_t> dropped;
        while (run.outstanding > 0 && link.Receive(dropped, run.timeoutMs) == VI_SUCCESS) --run.outstanding;
    }
    result.lastAnswerStatus = run.lastStatus;
    return result;
}

}  // namespace kv

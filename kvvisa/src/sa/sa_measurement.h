// Carries a plan out over the link to the receiver: the command sequence of
// each segment (the next one sent while the current one's answers are read),
// the samples, the spectra, the averaging and the detector, into the points
// of the run answer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "kvvisa/visa.h"
#include "sa_fft.h"
#include "sa_plan.h"
#include "sa_settings.h"
#include "sa_spectrum.h"

namespace kv {

// The receiver as the measurement sees it.
class ISaLink {
public:
    virtual ~ISaLink() = default;
    // All bytes out, or the failing write's status.
    virtual ViStatus Send(const std::vector<std::uint8_t>& bytes) = 0;
    // One whole packet within `timeoutMs`.
    virtual ViStatus Receive(std::vector<std::uint8_t>& packet, std::uint32_t timeoutMs) = 0;
};

struct SSaRunResult {
    // VI_SUCCESS, a negative instrument status (the measurement stopped on
    // it), or a transfer error of the link.
    ViStatus status = VI_SUCCESS;
    // The status of the last answer read, when it was not 0.
    std::int16_t lastAnswerStatus = 0;
};

class CSaMeasurement {
public:
    // `answerTimeoutMs` for parameter answers; data packets get their own.
    SSaRunResult Run(ISaLink& link, const SSaPlan& plan, std::uint8_t detector, std::uint32_t answerTimeoutMs,
                     std::uint8_t* points);

    // Sending a parameter and reading its answer, as the run does; used for
    // switching the receiver's mode too. `values` has 1 to 3 entries.
    static std::vector<std::uint8_t> ParameterRequest(std::uint16_t command, std::uint16_t param,
                                                      const std::vector<double>& values, std::uint8_t flagB);
    // Receives one answer; a negative status is reported and returned (as a
    // ViStatus), and `first` holds its first value.
    static ViStatus ReceiveParameter(ISaLink& link, std::uint32_t timeoutMs, std::uint16_t param,
                                     std::int16_t& status, double* first = nullptr, double* second = nullptr);

private:
    struct SRun;
    // Tuning to the segment and asking for its attenuation.
    static std::vector<std::uint8_t> SegmentHead(const SSaSegment& segment);
    // The sample requests of one acquisition, and the answers they get.
    static std::vector<std::uint8_t> AcquisitionRequests(const SSaPlan& plan, std::size_t& answers);
    ViStatus MeasureSegment(SRun& run, const SSaSegment& segment);
    ViStatus GetSamples(SRun& run, std::uint32_t count);
    const std::vector<double>& WindowFor(const SSaPlan& plan);

    CFftPlans plans_;
    CAlignedSamples samples_;
    std::vector<double> window_;
    std::uint32_t windowLength_ = 0, windowAcquisitions_ = 0, windowSize_ = 0;
    std::unique_ptr<CSaFftSpectrum> spectrum_;
    std::unique_ptr<CSaZoom> zoom_;
    std::vector<double> binPower_;
};

}  // namespace kv

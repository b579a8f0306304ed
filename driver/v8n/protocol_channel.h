// One request, one answer: builds the packet, exchanges it over the link,
// checks that the answer belongs to the request and decodes its values.
// Failures become result codes here, and what the error queue records.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "error_queue.h"
#include "instrument_link.h"
#include "korvel/com_base.h"

namespace korvel::v8n {

struct SReply {
    std::int16_t status = 0;
    std::vector<double> values;  // wire values after the first (field index or offset)
};

// What a caller takes from an answer: its values, or its status alone (a
// chunk of a long list is only checked, not read back).
enum class EAnswerUse { Values, StatusOnly };

class CProtocolChannel {
public:
    ViStatus Open(const std::string& resource, std::uint32_t timeoutMs);
    void Close() { link_.Close(); }
    bool IsOpen() const { return link_.IsOpen(); }

    // A KV_SET or KV_GET of `param` with `wire` (the first being the field
    // index or chunk offset). The answer must carry the same command,
    // parameter and first value and at least `answerValues` more values.
    // Answers with S_OK (also for a corrected value, see reply.status),
    // KORVEL_E_INSTRUMENT_STATUS, KORVEL_E_IO or KORVEL_E_BAD_ANSWER.
    // With EAnswerUse::StatusOnly the answer is checked as always but its
    // values are not decoded (reply.values stays empty).
    HRESULT Parameter(std::uint16_t command, std::uint16_t param, std::span<const double> wire,
                      std::size_t answerValues, SReply& reply, EAnswerUse use = EAnswerUse::Values);
    // A command without a body (KV_RESET, KV_RUN); the answer's body is not
    // looked at.
    HRESULT Command(std::uint16_t command);

    CErrorQueue& Errors() { return errors_; }
    // A transfer failed and none has succeeded since.
    bool LinkBroken() const { return linkBroken_; }

private:
    // Exchanges and sorts out transfer failures, instrument statuses and
    // answers to another command.
    HRESULT Transfer(const std::vector<std::uint8_t>& request, std::uint16_t command,
                     std::vector<std::uint8_t>& answer, std::int16_t& status);
    HRESULT BadAnswer();

    CInstrumentLink link_;
    CErrorQueue errors_;
    bool linkBroken_ = false;
};

}  // namespace korvel::v8n

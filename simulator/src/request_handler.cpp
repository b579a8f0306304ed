#include "request_handler.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "exchange_log.h"
#include "instrument_status.h"
#include "kvproto/value_codec.h"
#include "request_parser.h"
#include "setting_rules.h"

namespace z5rsim {

struct CRequestHandler::SAnswer {
    SExchangeRecord record;
    std::optional<std::int64_t> lead;  // the field index or chunk offset answered
};

namespace {

using kvproto::EFieldAccess;
using kvproto::EInstrumentField;

std::optional<EChunk> ChunkOf(std::uint16_t param) {
    switch (param) {
    case kvproto::kParamFreqListChunk: return EChunk::ListFrequencies;
    case kvproto::kParamLevelListChunk: return EChunk::ListLevels;
    case kvproto::kParamWidthChunk: return EChunk::PacketWidths;
    case kvproto::kParamGapChunk: return EChunk::PacketGaps;
    default: return std::nullopt;
    }
}

double ChunkScale(EChunk chunk) {
    switch (chunk) {
    case EChunk::ListFrequencies: return kvproto::kFrequencyScale;
    case EChunk::ListLevels: return kvproto::kLevelScale;
    case EChunk::PacketWidths:
    case EChunk::PacketGaps: return kvproto::kTimeScale;
    }
    return 1;
}

bool IsInstrumentParam(std::uint16_t param) {
    const auto rows = kvproto::InstrumentFields();
    return std::any_of(rows.begin(), rows.end(),
                       [param](const kvproto::SInstrumentField& row) { return row.param == param; });
}

// A whole number in [0, limit], or nothing.
std::optional<std::int64_t> WholeNumber(double value, double limit) {
    if (!(value >= 0 && value <= limit) || value != std::floor(value)) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

// Half away from zero, as std::round, without its library call: a list
// chunk brings hundreds of values. From 2^52 on every double is whole.
double RoundHalfAway(double value) {
    if (!(std::fabs(value) < 4503599627370496.0)) return value;
    const double whole = static_cast<double>(static_cast<std::int64_t>(value));
    const double rest = value - whole;
    if (rest >= 0.5) return whole + 1.0;
    if (rest <= -0.5) return whole - 1.0;
    return whole;
}

// Request values as whole wire units: rounded half away from zero and held
// within the exact range of a double. Nothing when a value is not finite.
std::optional<std::vector<std::int64_t>> ToWire(std::span<const double> values, bool* rounded) {
    std::vector<std::int64_t> wire(values.size());
    const double limit = static_cast<double>(kWireValueLimit);
    bool changed = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double value = values[i];
        if (!std::isfinite(value)) return std::nullopt;
        const double whole = std::clamp(RoundHalfAway(value), -limit, limit);
        changed |= whole != value;
        wire[i] = static_cast<std::int64_t>(whole);
    }
    if (changed) *rounded = true;
    return wire;
}

// The answer's values: the lead (field index or chunk offset), then what
// the instrument kept, at most 255 of them (FlagA is one byte).
std::vector<std::int64_t> AnswerValues(const SExchangeRecord& record, const std::optional<std::int64_t>& lead) {
    std::vector<std::int64_t> values;
    if (record.status >= 0) {
        if (lead) values.push_back(*lead);
        values.insert(values.end(), record.answer.begin(), record.answer.end());
    }
    values.resize(std::min<std::size_t>(values.size(), 255));
    return values;
}

// Values held within what `flagB` can carry, so an answer never wraps.
std::vector<double> Saturated(std::span<const std::int64_t> values, std::uint8_t flagB) {
    const unsigned bytes = std::min(kvproto::BytesPerValue(flagB), 8u);
    const int integerBits = 8 * static_cast<int>(bytes) - 8 * static_cast<int>(kvproto::FractionBytes(flagB)) - 1;
    const bool bounded = bytes > 0 && integerBits >= 0 && integerBits < 63;
    const std::int64_t highest = bounded ? (std::int64_t{1} << integerBits) - 1 : 0;
    std::vector<double> out(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        out[i] = static_cast<double>(bounded ? std::clamp(values[i], -highest - 1, highest) : values[i]);
    }
    return out;
}

std::vector<std::uint8_t> BuildAnswer(const kvproto::PacketHeader& request, const SExchangeRecord& record,
                                      const std::optional<std::int64_t>& lead) {
    const std::vector<std::int64_t> values = AnswerValues(record, lead);

    kvproto::PacketHeader header;
    header.command = request.command;
    header.status = record.status;
    header.dummy = request.dummy;
    header.id = request.id;
    if (record.hasParam) {
        header.flagB = kvproto::InstrumentParamFormat(record.param);
        header.flagA = static_cast<std::uint8_t>(values.size());
    }
    const unsigned valueSize = kvproto::BytesPerValue(header.flagB);
    if (valueSize == 0) header.flagA = 0;
    header.bodyLen = static_cast<std::uint16_t>(record.hasParam ? 2 + header.flagA * valueSize : 0);

    std::vector<std::uint8_t> packet(kvproto::kHeaderSize + header.bodyLen);
    const auto headerBytes = kvproto::EncodeHeader(header);
    std::copy(headerBytes.begin(), headerBytes.end(), packet.begin());
    if (record.hasParam) {
        std::uint8_t* body = packet.data() + kvproto::kHeaderSize;
        body[0] = static_cast<std::uint8_t>(record.param & 0xFF);
        body[1] = static_cast<std::uint8_t>(record.param >> 8);
        const auto carried = std::span(values).first(header.flagA);
        kvproto::EncodeValues(Saturated(carried, header.flagB), header.flagB, body + 2);
    }
    return packet;
}

}  // namespace

std::vector<std::uint8_t> CRequestHandler::Handle(std::span<const std::uint8_t> packet, std::string* log) {
    const SParsedRequest request = ParseRequest(packet);
    SAnswer answer;
    SExchangeRecord& record = answer.record;
    record.command = request.header.command;
    record.hasParam = request.hasParam;
    record.param = request.param;
    record.status = request.status;
    if (request.status == KV_NO_ERROR) {
        switch (request.header.command) {
        case kvproto::KV_TEST: break;
        case kvproto::KV_RESET: state_.Reset(); break;
        case kvproto::KV_RUN:
            // A software trigger carries nothing.
            if (request.header.bodyLen != 0) {
                record.status = KV_SIZE_ERROR;
            } else {
                state_.Trigger();
            }
            break;
        case kvproto::KV_SET:
        case kvproto::KV_GET: HandleParameter(request.header.command, request.param, request.values, answer); break;
        default: record.status = KV_UNKNOWN_COMMAND; break;
        }
    }
    if (log != nullptr) *log = DescribeExchange(record);
    return BuildAnswer(request.header, record, answer.lead);
}

void CRequestHandler::HandleParameter(std::uint16_t command, std::uint16_t param,
                                      const std::vector<double>& values, SAnswer& answer) {
    SExchangeRecord& record = answer.record;
    if (const auto chunk = ChunkOf(param)) return HandleChunk(command, *chunk, values, answer);
    if (!IsInstrumentParam(param)) {
        record.status = KV_UNKNOWN_PARAMETER;
        return;
    }
    if (values.empty()) {
        record.status = KV_SMALL_SIZE;  // no field index
        return;
    }
    const auto index = WholeNumber(values[0], 255);
    const kvproto::SInstrumentField* row =
        index ? kvproto::FindInstrumentField(param, static_cast<std::uint8_t>(*index)) : nullptr;
    if (row == nullptr || !state_.Supports(row->field)) {
        record.status = KV_UNKNOWN_PARAMETER;
        return;
    }
    record.subject = std::string(row->name);
    record.scale = row->scale;
    record.text = row->param == kvproto::kParamSerialNumber;
    answer.lead = *index;

    if (command == kvproto::KV_GET) {
        if (row->access == EFieldAccess::WriteOnly) {
            record.status = KV_PARAMETER_INCORRECT;
            return;
        }
        record.answer = state_.Read(row->field);
        if (row->field == EInstrumentField::NextError) state_.TakeError();  // reading it takes it
        record.status = KV_NO_ERROR;
        return;
    }

    const std::span<const double> requested = std::span(values).subspan(1);
    record.request = requested;
    bool rounded = false;
    const auto wire = ToWire(requested, &rounded);
    if (!wire) {
        record.status = KV_PARAMETER_INCORRECT;
        return;
    }
    SWriteResult result = state_.Write(row->field, *wire);
    record.status = result.status;
    record.answer = std::move(result.values);
    if (record.status == KV_NO_ERROR && rounded) record.status = KV_PARAMETER_CORRECTED;
    if (record.status == KV_NO_ERROR && requested.size() > row->valueCount) {
        record.status = KV_PARAMETER_IGNORED;  // values past the field's were not used
    }
}

void CRequestHandler::HandleChunk(std::uint16_t command, EChunk chunk, const std::vector<double>& values,
                                  SAnswer& answer) {
    SExchangeRecord& record = answer.record;
    if (!state_.Supports(chunk)) {
        record.status = KV_UNKNOWN_PARAMETER;
        return;
    }
    if (values.empty()) {
        record.status = KV_SMALL_SIZE;  // no offset
        return;
    }
    const auto offset = WholeNumber(values[0], static_cast<double>(kWireValueLimit));
    if (!offset) {
        record.status = KV_PARAMETER_INCORRECT;
        return;
    }
    record.subject = "@" + std::to_string(*offset);
    record.scale = ChunkScale(chunk);
    answer.lead = *offset;

    SWriteResult result;
    bool rounded = false;
    if (command == kvproto::KV_GET) {
        result = state_.ReadChunk(chunk, *offset, kvproto::kChunkElements);
    } else {
        const std::span<const double> elements = std::span(values).subspan(1);
        record.request = elements;
        const auto wire = ToWire(elements, &rounded);
        result = wire ? state_.PutChunk(chunk, *offset, *wire) : SWriteResult{KV_PARAMETER_INCORRECT, {}};
    }
    record.status = result.status;
    record.answer = std::move(result.values);
    if (record.status == KV_NO_ERROR && rounded) record.status = KV_PARAMETER_CORRECTED;
}

}  // namespace z5rsim

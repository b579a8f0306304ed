#include "field_access.h"

#include <algorithm>
#include <cmath>

#include "kvproto/packet.h"
#include "wire_format.h"

namespace korvel::v8n {
namespace {

using kvproto::InstrumentParamFormat;

bool AnyNaN(std::span<const double> values) {
    return std::any_of(values.begin(), values.end(), [](double v) { return std::isnan(v); });
}

// [first, settings × scale ...], saturated to the parameter's format.
std::vector<double> WireValues(std::uint16_t param, double first, double scale,
                               std::span<const double> settings) {
    const std::uint8_t format = InstrumentParamFormat(param);
    std::vector<double> wire(settings.size() + 1);
    wire[0] = first;
    SettingsToWire(settings, scale, format, std::span(wire).subspan(1));
    return wire;
}

void ToSettings(const std::vector<double>& wire, double scale, std::vector<double>& settings) {
    settings.clear();
    settings.reserve(wire.size());
    for (const double value : wire) settings.push_back(WireToSetting(value, scale));
}

}  // namespace

HRESULT SetField(CProtocolChannel& channel, kvproto::EInstrumentField field,
                 std::span<const double> settings, SReply* reply,
                 std::optional<std::size_t> answerValues) {
    if (AnyNaN(settings)) return E_INVALIDARG;
    const kvproto::SInstrumentField& row = kvproto::InstrumentField(field);
    const auto wire = WireValues(row.param, row.index, row.scale, settings);
    SReply answered;
    const HRESULT hr = channel.Parameter(kvproto::KV_SET, row.param, wire,
                                         answerValues.value_or(settings.size()), answered);
    if (reply != nullptr) {
        reply->status = answered.status;
        ToSettings(answered.values, row.scale, reply->values);
    }
    return hr;
}

HRESULT GetField(CProtocolChannel& channel, kvproto::EInstrumentField field,
                 std::vector<double>& settings, std::size_t minValues) {
    const kvproto::SInstrumentField& row = kvproto::InstrumentField(field);
    const double request[] = {static_cast<double>(row.index)};
    SReply reply;
    const HRESULT hr = channel.Parameter(kvproto::KV_GET, row.param, request, minValues, reply);
    if (Succeeded(hr)) ToSettings(reply.values, row.scale, settings);
    return hr;
}

HRESULT SetChunk(CProtocolChannel& channel, std::uint16_t param, double scale,
                 std::size_t offset, std::span<const double> elements, SReply& reply) {
    if (AnyNaN(elements)) return E_INVALIDARG;
    const auto wire = WireValues(param, static_cast<double>(offset), scale, elements);
    return channel.Parameter(kvproto::KV_SET, param, wire, elements.size(), reply,
                             EAnswerUse::StatusOnly);
}

HRESULT GetChunk(CProtocolChannel& channel, std::uint16_t param, double scale,
                 std::size_t offset, std::vector<double>& elements) {
    const double request[] = {static_cast<double>(offset)};
    SReply reply;
    const HRESULT hr = channel.Parameter(kvproto::KV_GET, param, request, 1, reply);
    if (Succeeded(hr)) ToSettings(reply.values, scale, elements);
    return hr;
}

}  // namespace korvel::v8n

// Settings exchanged by field, per the instrument map: values in the row's
// units, scaled and saturated on the way out, unscaled on the way back.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "kvproto/instrument_map.h"
#include "protocol_channel.h"

namespace korvel::v8n {

// One KV_SET of `field` with `settings`; `reply` (when given) receives the
// answer's status and the values the instrument accepted, in the row's
// units; `answerValues`
// is how many the answer must carry (default: as many as were sent). NaN is
// refused with E_INVALIDARG before anything is sent.
HRESULT SetField(CProtocolChannel& channel, kvproto::EInstrumentField field,
                 std::span<const double> settings, SReply* reply = nullptr,
                 std::optional<std::size_t> answerValues = std::nullopt);
// One KV_GET of `field`; at least `minValues` values must come back.
HRESULT GetField(CProtocolChannel& channel, kvproto::EInstrumentField field,
                 std::vector<double>& settings, std::size_t minValues = 1);

// A chunk of a long series: [offset, elements...] of a chunk parameter;
// the reply's status tells whether the instrument corrected any of them (its
// values are not read back).
HRESULT SetChunk(CProtocolChannel& channel, std::uint16_t param, double scale,
                 std::size_t offset, std::span<const double> elements, SReply& reply);
HRESULT GetChunk(CProtocolChannel& channel, std::uint16_t param, double scale,
                 std::size_t offset, std::vector<double>& elements);

}  // namespace korvel::v8n

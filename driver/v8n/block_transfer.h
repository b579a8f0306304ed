// Series longer than one packet (a point list, a pulse packet): "begin"
// with the lengths, chunks of each series, "commit"; when the instrument
// shortened or corrected anything, the series are read back so the caller
// holds what the instrument holds.
#pragma once

#include <span>
#include <vector>

#include "kvproto/instrument_map.h"
#include "protocol_channel.h"

namespace korvel::v8n {

struct SSeries {
    std::uint16_t chunkParam;
    double scale;
    std::vector<double>* values;  // in: what to send; out: what the instrument kept
};

struct SBlockLayout {
    kvproto::EInstrumentField begin;   // values: the lengths
    kvproto::EInstrumentField commit;  // answer: the lengths kept
    bool sharedLength;                 // one length for every series (a pulse packet)
};

// Series of a shared length must have equal sizes (else E_INVALIDARG); NaN
// elements give E_INVALIDARG. Nothing is sent in either case. On a failure
// the caller's series are left as they were.
HRESULT TransferSeries(CProtocolChannel& channel, const SBlockLayout& layout,
                       std::span<const SSeries> series);

}  // namespace korvel::v8n

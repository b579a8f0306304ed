#include "pulse_objects.h"

#include "block_transfer.h"
#include "field_access.h"

namespace korvel::v8n {

HRESULT CPulsePacketGeneratorObject::Load(VARIANT_BOOL enable, std::vector<double>& widths,
                                          std::vector<double>& gaps) {
    return Session().Operate(kPulse, [&](CProtocolChannel& channel) {
        const SSeries series[] = {
            {kvproto::kParamWidthChunk, kvproto::kTimeScale, &widths},
            {kvproto::kParamGapChunk, kvproto::kTimeScale, &gaps},
        };
        HRESULT hr = TransferSeries(channel, {F::PacketBegin, F::PacketCommit, true}, series);
        if (Failed(hr)) return hr;
        const double on[] = {enable != 0 ? 1.0 : 0.0};
        return SetField(channel, F::PacketEnabled, on);
    });
}

CPulseGeneratorObject::CPulseGeneratorObject(const std::shared_ptr<CInstrumentSession>& session)
    : CDriverPart(session),
      output_(ComPtr<CPulseGeneratorOutputObject>::Attach(new CPulseGeneratorOutputObject(session))),
      packetGenerator_(ComPtr<CPulsePacketGeneratorObject>::Attach(
          new CPulsePacketGeneratorObject(session))) {}

}  // namespace korvel::v8n

#include "sweep_objects.h"

#include "block_transfer.h"
#include "field_access.h"

namespace korvel::v8n {

HRESULT CFrequencyStepObject::Configure(double start, double stop, std::int32_t scaling,
                                        double step) {
    // Only linear steps: a logarithmic sweep runs as a point list.
    if (scaling != 0) return E_INVALIDARG;
    return Session().Operate(ENeeds::Session, [&](CProtocolChannel& channel) {
        const double settings[] = {start, stop, step};
        return SetField(channel, F::ConfigureFrequencySweep, settings);
    });
}

HRESULT CPowerStepObject::Configure(double start, double stop, double step) {
    return Session().Operate(ENeeds::Session, [&](CProtocolChannel& channel) {
        const double settings[] = {start, stop, step};
        return SetField(channel, F::ConfigureLevelSweep, settings);
    });
}

// The instrument holds one list; a name has nothing to select and is not sent.
HRESULT CListObject::Configure(const std::string&, std::vector<double>& frequencies,
                               std::vector<double>& levels) {
    return Session().Operate(ENeeds::Session, [&](CProtocolChannel& channel) {
        const SSeries series[] = {
            {kvproto::kParamFreqListChunk, kvproto::kFrequencyScale, &frequencies},
            {kvproto::kParamLevelListChunk, kvproto::kLevelScale, &levels},
        };
        return TransferSeries(channel, {F::PointsListBegin, F::PointsListCommit, false}, series);
    });
}

CSweepObject::CSweepObject(const std::shared_ptr<CInstrumentSession>& session)
    : CDriverPart(session),
      frequencyStep_(ComPtr<CFrequencyStepObject>::Attach(new CFrequencyStepObject(session))),
      powerStep_(ComPtr<CPowerStepObject>::Attach(new CPowerStepObject(session))),
      list_(ComPtr<CListObject>::Attach(new CListObject(session))),
      triggerOutput_(ComPtr<CTriggerOutputObject>::Attach(new CTriggerOutputObject(session))) {}

}  // namespace korvel::v8n

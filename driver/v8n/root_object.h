// The driver object: life cycle, navigation to the interface objects, the
// software trigger. Releasing its last reference closes the session, so
// the instrument's connection is free for the next client.
#pragma once

#include "com_object.h"
#include "pulse_objects.h"
#include "rf_object.h"
#include "sweep_objects.h"
#include "system_object.h"

namespace korvel::v8n {

class CUtilityObject final : public CDriverPart<IIviDriverUtility, IID_IIviDriverUtility> {
public:
    using CDriverPart::CDriverPart;
    HRESULT ErrorQuery(std::int32_t* code, std::string* message) override {
        return Session().ErrorQuery(code, message);
    }
};

class CDriverObject final : public CComObject<IKorvelV8N, IID_IKorvelV8N> {
public:
    CDriverObject();
    ~CDriverObject() override;

    HRESULT get_Utility(IIviDriverUtility** out) override { return GiveOut(utility_, out); }
    HRESULT get_RF(IKorvelV8NRF** out) override { return GiveOut(rf_, out); }
    HRESULT get_PulseGenerator(IKorvelV8NPulseGenerator** out) override {
        return GiveOut(pulseGenerator_, out);
    }
    HRESULT get_Sweep(IKorvelV8NSweep** out) override { return GiveOut(sweep_, out); }
    HRESULT get_PulseModulation(IKorvelV8NPulseModulation** out) override {
        return GiveOut(pulseModulation_, out);
    }
    HRESULT SendTrigger() override;
    HRESULT get_System(IKorvelV8NSystem** out) override { return GiveOut(system_, out); }
    // The identity is always asked (InstrumentType picks the personality),
    // so `idQuery` adds nothing.
    HRESULT Initialize(const std::string& resource, VARIANT_BOOL idQuery, VARIANT_BOOL reset,
                       const std::string& options) override;
    HRESULT get_Initialized(VARIANT_BOOL* initialized) override;
    HRESULT Close() override { return session_->Close(); }

private:
    std::shared_ptr<CInstrumentSession> session_;
    ComPtr<CUtilityObject> utility_;
    ComPtr<CRfObject> rf_;
    ComPtr<CPulseGeneratorObject> pulseGenerator_;
    ComPtr<CSweepObject> sweep_;
    ComPtr<CPulseModulationObject> pulseModulation_;
    ComPtr<CSystemObject> system_;
};

}  // namespace korvel::v8n

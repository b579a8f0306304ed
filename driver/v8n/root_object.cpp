#include "root_object.h"

#include "kvproto/packet.h"

namespace korvel::v8n {
namespace {

template <typename Object>
ComPtr<Object> Make(const std::shared_ptr<CInstrumentSession>& session) {
    return ComPtr<Object>::Attach(new Object(session));
}

}  // namespace

CDriverObject::CDriverObject()
    : session_(std::make_shared<CInstrumentSession>()),
      utility_(Make<CUtilityObject>(session_)),
      rf_(Make<CRfObject>(session_)),
      pulseGenerator_(Make<CPulseGeneratorObject>(session_)),
      sweep_(Make<CSweepObject>(session_)),
      pulseModulation_(Make<CPulseModulationObject>(session_)),
      system_(Make<CSystemObject>(session_)) {}

CDriverObject::~CDriverObject() { session_->Close(); }

HRESULT CDriverObject::SendTrigger() {
    return session_->Operate(ENeeds::Session, [](CProtocolChannel& channel) {
        return channel.Command(kvproto::KV_RUN);
    });
}

HRESULT CDriverObject::Initialize(const std::string& resource, VARIANT_BOOL, VARIANT_BOOL reset,
                                  const std::string& options) {
    return session_->Initialize(resource, reset != 0, options);
}

HRESULT CDriverObject::get_Initialized(VARIANT_BOOL* initialized) {
    if (initialized == nullptr) return E_POINTER;
    *initialized = session_->Initialized() ? 1 : 0;
    return S_OK;
}

}  // namespace korvel::v8n

// Reference counting and QueryInterface for an object that serves one
// interface (besides IUnknown). Objects start with one reference, which
// their creator takes over.
#pragma once

#include <atomic>
#include <memory>

#include "instrument_session.h"
#include "korvel/com_base.h"

namespace korvel::v8n {

template <typename Interface, const IID& kInterfaceId>
class CComObject : public Interface {
public:
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == kInterfaceId || iid == IID_IUnknown) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    std::uint32_t Release() override {
        const std::uint32_t left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) delete this;
        return left;
    }

protected:
    CComObject() = default;
    virtual ~CComObject() = default;

private:
    std::atomic<std::uint32_t> refs_{1};
};

// An interface object of the driver: its operations run on the shared session.
template <typename Interface, const IID& kInterfaceId>
class CDriverPart : public CComObject<Interface, kInterfaceId> {
public:
    explicit CDriverPart(std::shared_ptr<CInstrumentSession> session)
        : session_(std::move(session)) {}

protected:
    CInstrumentSession& Session() { return *session_; }

private:
    std::shared_ptr<CInstrumentSession> session_;
};

// Hands out another reference to `object` through an out parameter.
template <typename Interface, typename Object>
HRESULT GiveOut(const ComPtr<Object>& object, Interface** out) {
    if (out == nullptr) return E_POINTER;
    *out = object.Get();
    object->AddRef();
    return S_OK;
}

}  // namespace korvel::v8n

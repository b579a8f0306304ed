#include "instrument_session.h"

#include "driver_options.h"
#include "field_access.h"
#include "kvproto/packet.h"

namespace korvel::v8n {

using kvproto::EInstrumentField;

HRESULT CInstrumentSession::Initialize(const std::string& resource, bool reset,
                                       const std::string& options) noexcept {
    try {
        std::lock_guard lock(mutex_);
        CloseLocked();
        channel_.Errors().Clear();
        const HRESULT hr = Connect(resource, reset, options);
        if (Failed(hr)) CloseLocked();
        return hr;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CInstrumentSession::Connect(const std::string& resource, bool reset,
                                    const std::string& options) {
    const auto parsed = ParseDriverOptions(options);
    if (!parsed) return E_INVALIDARG;

    const ViStatus opened = channel_.Open(resource, parsed->timeoutMs);
    if (opened < VI_SUCCESS) {
        channel_.Errors().PushVisaStatus(opened);
        return KORVEL_E_INSTRUMENT_NOT_FOUND;
    }

    std::vector<double> answer;
    HRESULT hr = GetField(channel_, EInstrumentField::InstrumentType, answer);
    if (hr == KORVEL_E_IO) return KORVEL_E_INSTRUMENT_NOT_FOUND;  // nobody answers there
    // Something answered, but not as a synthesizer does; or no GENERATOR
    // option, and the default personality serves none of this line's
    // synthesizers.
    if (Failed(hr) || answer.front() != kvproto::kInstrumentTypeGenerator || !parsed->generator) {
        return KORVEL_E_UNSUPPORTED_INSTRUMENT;
    }

    if (reset) {
        hr = channel_.Command(kvproto::KV_RESET);
        if (Failed(hr)) return hr;
    }
    hr = GetField(channel_, EInstrumentField::HasPulseModulation, answer);
    if (Failed(hr)) return hr;
    hasPulseModulation_ = answer.front() != 0;
    initialized_ = true;
    return S_OK;
}

HRESULT CInstrumentSession::Close() noexcept {
    try {
        std::lock_guard lock(mutex_);
        if (!initialized_) return KORVEL_E_NOT_INITIALIZED;
        CloseLocked();
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

void CInstrumentSession::CloseLocked() {
    channel_.Close();
    initialized_ = false;
    hasPulseModulation_ = false;
}

bool CInstrumentSession::Initialized() const noexcept {
    std::lock_guard lock(mutex_);
    return initialized_;
}

HRESULT CInstrumentSession::ErrorQuery(std::int32_t* code, std::string* message) noexcept {
    if (code == nullptr || message == nullptr) return E_POINTER;
    *code = 0;
    message->clear();
    try {
        std::lock_guard lock(mutex_);
        CErrorQueue& errors = channel_.Errors();
        // Entries left by a failed Initialize or before Close still tell
        // what happened.
        if (errors.Empty()) {
            if (!initialized_) return KORVEL_E_NOT_INITIALIZED;
            if (channel_.LinkBroken()) return S_OK;
            std::vector<double> answer;
            const HRESULT hr = GetField(channel_, EInstrumentField::NextError, answer);
            // A failed transfer or an error status was queued just now and
            // is answered below; a malformed answer leaves nothing to tell.
            if (Failed(hr) && errors.Empty()) return hr;
            if (Succeeded(hr)) {
                *code = ToInteger(answer.front());
                *message = CErrorQueue::Message(*code);
                return S_OK;
            }
        }
        *code = errors.Pop().value_or(0);
        *message = CErrorQueue::Message(*code);
        return S_OK;
    } catch (...) {
        *code = 0;
        message->clear();
        return E_FAIL;
    }
}

}  // namespace korvel::v8n

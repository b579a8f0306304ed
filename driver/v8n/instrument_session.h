// The state every interface object of one driver object shares: the
// protocol channel, whether Initialize succeeded, the model's pulse
// modulation, and one lock so each operation's exchanges stay together.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "korvel/korvel_v8n.h"
#include "kvproto/instrument_map.h"
#include "protocol_channel.h"

namespace korvel::v8n {

// A value the instrument answered as a 32-bit integer, rounded and held
// within range.
std::int32_t ToInteger(double value);

// What an operation needs besides an initialized session.
enum class ENeeds { Session, PulseModulation };

class CInstrumentSession {
public:
    using Field = kvproto::EInstrumentField;

    HRESULT Initialize(const std::string& resource, bool reset, const std::string& options) noexcept;
    HRESULT Close() noexcept;
    bool Initialized() const noexcept;

    // Runs `body(channel)` under the lock once `needs` holds: otherwise
    // KORVEL_E_NOT_INITIALIZED or KORVEL_E_NO_PULSE_MODULATION, with no
    // traffic. No exception leaves.
    template <typename Body>
    HRESULT Operate(ENeeds needs, Body&& body) noexcept {
        try {
            std::lock_guard lock(mutex_);
            if (!initialized_) return KORVEL_E_NOT_INITIALIZED;
            if (needs == ENeeds::PulseModulation && !hasPulseModulation_) {
                return KORVEL_E_NO_PULSE_MODULATION;
            }
            return body(channel_);
        } catch (...) {
            return E_FAIL;
        }
    }

    // Typed front ends of one set or get of a field.
    HRESULT SetValue(Field field, double value, ENeeds needs = ENeeds::Session) noexcept;
    HRESULT GetValue(Field field, double* value, ENeeds needs = ENeeds::Session) noexcept;
    HRESULT SetFlag(Field field, VARIANT_BOOL on, ENeeds needs = ENeeds::Session) noexcept;
    HRESULT GetFlag(Field field, VARIANT_BOOL* on, ENeeds needs = ENeeds::Session) noexcept;
    HRESULT SetInteger(Field field, std::int32_t value, ENeeds needs = ENeeds::Session) noexcept;
    HRESULT GetInteger(Field field, std::int32_t* value,
                       ENeeds needs = ENeeds::Session) noexcept;
    HRESULT GetText(Field field, std::string* text) noexcept;

    // The oldest local entry; with none, the instrument's next error, unless
    // the link is broken: then 0 without asking, so a caller reading until 0
    // always ends.
    HRESULT ErrorQuery(std::int32_t* code, std::string* message) noexcept;

private:
    void CloseLocked();
    HRESULT Connect(const std::string& resource, bool reset, const std::string& options);

    mutable std::mutex mutex_;
    CProtocolChannel channel_;
    bool initialized_ = false;
    bool hasPulseModulation_ = false;
};

}  // namespace korvel::v8n

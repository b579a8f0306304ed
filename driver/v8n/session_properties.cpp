// The typed front ends of CInstrumentSession: one field, one exchange, the
// value the instrument answered handed back unchanged but for its type.
#include <algorithm>
#include <cmath>
#include <limits>

#include "field_access.h"
#include "instrument_session.h"

namespace korvel::v8n {
namespace {

template <typename Integer>
Integer Saturated(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::round(value);
    return static_cast<Integer>(std::clamp(rounded,
                                           static_cast<double>(std::numeric_limits<Integer>::min()),
                                           static_cast<double>(std::numeric_limits<Integer>::max())));
}

}  // namespace

HRESULT CInstrumentSession::SetValue(Field field, double value, ENeeds needs) noexcept {
    return Operate(needs, [&](CProtocolChannel& channel) {
        const double settings[] = {value};
        return SetField(channel, field, settings);
    });
}

HRESULT CInstrumentSession::GetValue(Field field, double* value, ENeeds needs) noexcept {
    if (value == nullptr) return E_POINTER;
    return Operate(needs, [&](CProtocolChannel& channel) {
        std::vector<double> answer;
        const HRESULT hr = GetField(channel, field, answer);
        if (Succeeded(hr)) *value = answer.front();
        return hr;
    });
}

HRESULT CInstrumentSession::SetFlag(Field field, VARIANT_BOOL on, ENeeds needs) noexcept {
    // Any non-zero boolean (COM's true is -1) is the instrument's 1.
    return SetValue(field, on != 0 ? 1 : 0, needs);
}

HRESULT CInstrumentSession::GetFlag(Field field, VARIANT_BOOL* on, ENeeds needs) noexcept {
    if (on == nullptr) return E_POINTER;
    double value = 0;
    const HRESULT hr = GetValue(field, &value, needs);
    if (Succeeded(hr)) *on = Saturated<VARIANT_BOOL>(value);
    return hr;
}

HRESULT CInstrumentSession::SetInteger(Field field, std::int32_t value, ENeeds needs) noexcept {
    return SetValue(field, value, needs);
}

HRESULT CInstrumentSession::GetInteger(Field field, std::int32_t* value, ENeeds needs) noexcept {
    if (value == nullptr) return E_POINTER;
    double answered = 0;
    const HRESULT hr = GetValue(field, &answered, needs);
    if (Succeeded(hr)) *value = Saturated<std::int32_t>(answered);
    return hr;
}

HRESULT CInstrumentSession::GetText(Field field, std::string* text) noexcept {
    if (text == nullptr) return E_POINTER;
    return Operate(ENeeds::Session, [&](CProtocolChannel& channel) {
        std::vector<double> bytes;
        const HRESULT hr = GetField(channel, field, bytes, 0);
        if (Failed(hr)) return hr;
        // One byte per value; a zero byte ends the text.
        std::string answered;
        for (const double byte : bytes) {
            const auto c = static_cast<char>(static_cast<unsigned char>(Saturated<int>(byte) & 0xFF));
            if (c == '\0') break;
            answered.push_back(c);
        }
        *text = std::move(answered);
        return S_OK;
    });
}

std::int32_t ToInteger(double value) { return Saturated<std::int32_t>(value); }

}  // namespace korvel::v8n

// RF output: frequency, level, output switch.
#pragma once

#include "com_object.h"

namespace korvel::v8n {

class CRfObject final : public CDriverPart<IKorvelV8NRF, IID_IKorvelV8NRF> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    // Frequency first: the level the instrument can give depends on it.
    HRESULT Configure(double frequency, double level) override {
        const HRESULT hr = Session().SetValue(F::CwFrequency, frequency);
        return Failed(hr) ? hr : Session().SetValue(F::Level, level);
    }
    HRESULT put_Frequency(double hz) override { return Session().SetValue(F::CwFrequency, hz); }
    HRESULT get_Frequency(double* hz) override { return Session().GetValue(F::CwFrequency, hz); }
    HRESULT put_Level(double dbm) override { return Session().SetValue(F::Level, dbm); }
    HRESULT get_Level(double* dbm) override { return Session().GetValue(F::Level, dbm); }
    HRESULT put_OutputEnabled(VARIANT_BOOL enabled) override {
        return Session().SetFlag(F::RfOutputEnabled, enabled);
    }
    HRESULT get_OutputEnabled(VARIANT_BOOL* enabled) override {
        return Session().GetFlag(F::RfOutputEnabled, enabled);
    }
};

}  // namespace korvel::v8n

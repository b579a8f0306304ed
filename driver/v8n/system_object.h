// Identity, lock and level states, reference, attenuator strategy, phase.
#pragma once

#include "com_object.h"

namespace korvel::v8n {

class CSystemObject final : public CDriverPart<IKorvelV8NSystem, IID_IKorvelV8NSystem> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    HRESULT get_SerialNumber(std::string* serial) override {
        return Session().GetText(F::SerialNumber, serial);
    }
    HRESULT get_Name(std::string* name) override { return Session().GetText(F::Name, name); }
    HRESULT get_RfButton(VARIANT_BOOL* on) override { return Session().GetFlag(F::RfButton, on); }
    HRESULT get_Locked(VARIANT_BOOL* locked) override { return Session().GetFlag(F::Locked, locked); }
    HRESULT get_ExtRefLocked(VARIANT_BOOL* locked) override {
        return Session().GetFlag(F::ExtRefLocked, locked);
    }
    HRESULT get_LevelSettled(VARIANT_BOOL* settled) override {
        return Session().GetFlag(F::LevelSettled, settled);
    }
    HRESULT put_AttStrategy(std::int32_t strategy) override {
        return Session().SetInteger(F::AttStrategy, strategy);
    }
    HRESULT get_AttStrategy(std::int32_t* strategy) override {
        return Session().GetInteger(F::AttStrategy, strategy);
    }
    HRESULT put_ExtRefEnabled(VARIANT_BOOL enabled) override {
        return Session().SetFlag(F::ExtRefEnabled, enabled);
    }
    HRESULT get_ExtRefEnabled(VARIANT_BOOL* enabled) override {
        return Session().GetFlag(F::ExtRefEnabled, enabled);
    }
    HRESULT put_ExtRefFrequency(double hz) override {
        return Session().SetValue(F::ExtRefFrequency, hz);
    }
    HRESULT get_ExtRefFrequency(double* hz) override {
        return Session().GetValue(F::ExtRefFrequency, hz);
    }
    HRESULT put_TriggerInputInverted(VARIANT_BOOL inverted) override {
        return Session().SetFlag(F::TriggerInputInverted, inverted);
    }
    HRESULT get_TriggerInputInverted(VARIANT_BOOL* inverted) override {
        return Session().GetFlag(F::TriggerInputInverted, inverted);
    }
    HRESULT put_PhaseOffset(std::int32_t degrees) override {
        return Session().SetInteger(F::PhaseOffset, degrees);
    }
    HRESULT get_PhaseOffset(std::int32_t* degrees) override {
        return Session().GetInteger(F::PhaseOffset, degrees);
    }
    HRESULT put_ExtPowerControl(VARIANT_BOOL enabled) override {
        return Session().SetFlag(F::ExtPowerControl, enabled);
    }
    HRESULT get_ExtPowerControl(VARIANT_BOOL* enabled) override {
        return Session().GetFlag(F::ExtPowerControl, enabled);
    }
};

}  // namespace korvel::v8n

// Pulse modulation: the periodic generator, its packet generator and the
// modulation switch. On a model without pulse modulation every operation
// answers KORVEL_E_NO_PULSE_MODULATION without traffic.
#pragma once

#include "com_object.h"

namespace korvel::v8n {

inline constexpr ENeeds kPulse = ENeeds::PulseModulation;

class CPulseGeneratorOutputObject final
    : public CDriverPart<IKorvelV8NPulseGeneratorOutput, IID_IKorvelV8NPulseGeneratorOutput> {
public:
    using CDriverPart::CDriverPart;
};

class CPulsePacketGeneratorObject final
    : public CDriverPart<IKorvelV8NPulsePacketGenerator, IID_IKorvelV8NPulsePacketGenerator> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    HRESULT put_Enabled(VARIANT_BOOL enabled) override {
        return Session().SetFlag(F::PacketEnabled, enabled, kPulse);
    }
    HRESULT Load(VARIANT_BOOL enable, std::vector<double>& widths,
                 std::vector<double>& gaps) override;
};

class CPulseGeneratorObject final
    : public CDriverPart<IKorvelV8NPulseGenerator, IID_IKorvelV8NPulseGenerator> {
public:
    using F = kvproto::EInstrumentField;

    explicit CPulseGeneratorObject(const std::shared_ptr<CInstrumentSession>& session);

    HRESULT get_Output(IKorvelV8NPulseGeneratorOutput** out) override { return GiveOut(output_, out); }
    HRESULT get_PacketGenerator(IKorvelV8NPulsePacketGenerator** out) override {
        return GiveOut(packetGenerator_, out);
    }
    HRESULT put_Period(double seconds) override {
        return Session().SetValue(F::PulsePeriod, seconds, kPulse);
    }
    HRESULT get_Period(double* seconds) override {
        return Session().GetValue(F::PulsePeriod, seconds, kPulse);
    }
    HRESULT put_Width(double seconds) override {
        return Session().SetValue(F::PulseWidth, seconds, kPulse);
    }
    HRESULT get_Width(double* seconds) override {
        return Session().GetValue(F::PulseWidth, seconds, kPulse);
    }

private:
    ComPtr<CPulseGeneratorOutputObject> output_;
    ComPtr<CPulsePacketGeneratorObject> packetGenerator_;
};

class CPulseModulationObject final
    : public CDriverPart<IKorvelV8NPulseModulation, IID_IKorvelV8NPulseModulation> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    HRESULT put_Enabled(VARIANT_BOOL enabled) override {
        return Session().SetFlag(F::PulseModEnabled, enabled, kPulse);
    }
    HRESULT get_Enabled(VARIANT_BOOL* enabled) override {
        return Session().GetFlag(F::PulseModEnabled, enabled, kPulse);
    }
    HRESULT put_Source(std::int32_t source) override {
        return Session().SetInteger(F::PulseModSource, source, kPulse);
    }
};

}  // namespace korvel::v8n

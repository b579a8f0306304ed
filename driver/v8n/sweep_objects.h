// The sweeps: frequency step, power step, point list, and the trigger
// output that marks their progress; the sweep object selects among them.
#pragma once

#include "com_object.h"

namespace korvel::v8n {

class CFrequencyStepObject final
    : public CDriverPart<IKorvelV8NFrequencyStep, IID_IKorvelV8NFrequencyStep> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    HRESULT Configure(double start, double stop, std::int32_t scaling, double step) override;
    HRESULT get_Start(double* hz) override { return Session().GetValue(F::SweepStartFrequency, hz); }
    HRESULT get_Stop(double* hz) override { return Session().GetValue(F::SweepStopFrequency, hz); }
    HRESULT get_Step(double* hz) override { return Session().GetValue(F::SweepStepFrequency, hz); }
    HRESULT put_SinglePoint(VARIANT_BOOL on) override {
        return Session().SetFlag(F::FrequencySinglePoint, on);
    }
    HRESULT get_SinglePoint(VARIANT_BOOL* on) override {
        return Session().GetFlag(F::FrequencySinglePoint, on);
    }
    HRESULT put_Dwell(double seconds) override { return Session().SetValue(F::FrequencyDwell, seconds); }
    HRESULT get_Dwell(double* seconds) override { return Session().GetValue(F::FrequencyDwell, seconds); }
};

class CPowerStepObject final : public CDriverPart<IKorvelV8NPowerStep, IID_IKorvelV8NPowerStep> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    HRESULT Configure(double start, double stop, double step) override;
    HRESULT get_Start(double* dbm) override { return Session().GetValue(F::SweepStartLevel, dbm); }
    HRESULT get_Stop(double* dbm) override { return Session().GetValue(F::SweepStopLevel, dbm); }
    HRESULT put_SinglePoint(VARIANT_BOOL on) override {
        return Session().SetFlag(F::LevelSinglePoint, on);
    }
    HRESULT get_SinglePoint(VARIANT_BOOL* on) override {
        return Session().GetFlag(F::LevelSinglePoint, on);
    }
    HRESULT put_Dwell(double seconds) override { return Session().SetValue(F::LevelDwell, seconds); }
    HRESULT get_Dwell(double* seconds) override { return Session().GetValue(F::LevelDwell, seconds); }
};

class CListObject final : public CDriverPart<IKorvelV8NList, IID_IKorvelV8NList> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    HRESULT put_SinglePoint(VARIANT_BOOL on) override {
        return Session().SetFlag(F::ListSinglePoint, on);
    }
    HRESULT get_SinglePoint(VARIANT_BOOL* on) override {
        return Session().GetFlag(F::ListSinglePoint, on);
    }
    HRESULT put_Dwell(double seconds) override { return Session().SetValue(F::ListDwell, seconds); }
    HRESULT get_Dwell(double* seconds) override { return Session().GetValue(F::ListDwell, seconds); }
    HRESULT Configure(const std::string& name, std::vector<double>& frequencies,
                      std::vector<double>& levels) override;
};

class CTriggerOutputObject final
    : public CDriverPart<IKorvelV8NTriggerOutput, IID_IKorvelV8NTriggerOutput> {
public:
    using CDriverPart::CDriverPart;
    using F = kvproto::EInstrumentField;

    HRESULT put_Duration(double seconds) override {
        return Session().SetValue(F::SyncOutDuration, seconds);
    }
    HRESULT get_Duration(double* seconds) override {
        return Session().GetValue(F::SyncOutDuration, seconds);
    }
    HRESULT put_Mode(std::int32_t mode) override { return Session().SetInteger(F::SyncOutMode, mode); }
    HRESULT get_Mode(std::int32_t* mode) override { return Session().GetInteger(F::SyncOutMode, mode); }
    HRESULT put_Inverted(VARIANT_BOOL inverted) override {
        return Session().SetFlag(F::SyncOutInverted, inverted);
    }
    HRESULT get_Inverted(VARIANT_BOOL* inverted) override {
        return Session().GetFlag(F::SyncOutInverted, inverted);
    }
    HRESULT put_Enabled(VARIANT_BOOL enabled) override {
        return Session().SetFlag(F::SyncOutEnabled, enabled);
    }
    HRESULT get_Enabled(VARIANT_BOOL* enabled) override {
        return Session().GetFlag(F::SyncOutEnabled, enabled);
    }
};

class CSweepObject final : public CDriverPart<IKorvelV8NSweep, IID_IKorvelV8NSweep> {
public:
    using F = kvproto::EInstrumentField;

    explicit CSweepObject(const std::shared_ptr<CInstrumentSession>& session);

    HRESULT get_FrequencyStep(IKorvelV8NFrequencyStep** out) override {
        return GiveOut(frequencyStep_, out);
    }
    HRESULT get_PowerStep(IKorvelV8NPowerStep** out) override { return GiveOut(powerStep_, out); }
    HRESULT get_List(IKorvelV8NList** out) override { return GiveOut(list_, out); }
    HRESULT get_TriggerOutput(IKorvelV8NTriggerOutput** out) override {
        return GiveOut(triggerOutput_, out);
    }
    HRESULT put_Mode(std::int32_t mode) override { return Session().SetInteger(F::SweepMode, mode); }
    HRESULT put_TriggerSource(std::int32_t source) override {
        return Session().SetInteger(F::TriggerSource, source);
    }

private:
    ComPtr<CFrequencyStepObject> frequencyStep_;
    ComPtr<CPowerStepObject> powerStep_;
    ComPtr<CListObject> list_;
    ComPtr<CTriggerOutputObject> triggerOutput_;
};

}  // namespace korvel::v8n

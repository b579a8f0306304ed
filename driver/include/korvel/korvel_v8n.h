// The synthesizer driver's type library: the class, its interfaces (each
// operation in the library's order after the three of IUnknown) and the result
// codes callers give a meaning to. Texts are UTF-8, arrays of doubles are
// vectors passed in and out, booleans are VARIANT_BOOL with 1 for true.
#pragma once

#include <string>
#include <vector>

#include "korvel/com_base.h"

namespace korvel {

// Result codes beyond the common ones.
inline constexpr HRESULT KORVEL_E_UNSUPPORTED_INSTRUMENT = static_cast<HRESULT>(0x8004705Eu);
inline constexpr HRESULT KORVEL_E_INSTRUMENT_NOT_FOUND = static_cast<HRESULT>(0x80047060u);
inline constexpr HRESULT KORVEL_E_NO_PULSE_MODULATION = static_cast<HRESULT>(0x80047012u);
// An operation before Initialize, or after Close.
inline constexpr HRESULT KORVEL_E_NOT_INITIALIZED = static_cast<HRESULT>(0x80047055u);
// The instrument answered with an error status (queued for ErrorQuery).
inline constexpr HRESULT KORVEL_E_INSTRUMENT_STATUS = static_cast<HRESULT>(0x80047056u);
// A transfer failed (its VISA status is queued for ErrorQuery).
inline constexpr HRESULT KORVEL_E_IO = static_cast<HRESULT>(0x80047057u);
// The answer did not have the shape of the request's answer.
inline constexpr HRESULT KORVEL_E_BAD_ANSWER = static_cast<HRESULT>(0x80047058u);

class IIviDriverUtility : public IUnknown {
public:
    // Takes the oldest entry of the error queue: the code (0 and an empty
    // message when the queue is empty) and its text.
    virtual HRESULT ErrorQuery(std::int32_t* code, std::string* message) = 0;
};

class IKorvelV8NRF : public IUnknown {
public:
    virtual HRESULT Configure(double frequency, double level) = 0;
    virtual HRESULT put_Frequency(double hz) = 0;
    virtual HRESULT get_Frequency(double* hz) = 0;
    virtual HRESULT put_Level(double dbm) = 0;
    virtual HRESULT get_Level(double* dbm) = 0;
    virtual HRESULT put_OutputEnabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT get_OutputEnabled(VARIANT_BOOL* enabled) = 0;
};

class IKorvelV8NFrequencyStep : public IUnknown {
public:
    virtual HRESULT Configure(double start, double stop, std::int32_t scaling, double step) = 0;
    virtual HRESULT get_Start(double* hz) = 0;
    virtual HRESULT get_Stop(double* hz) = 0;
    virtual HRESULT get_Step(double* hz) = 0;
    virtual HRESULT put_SinglePoint(VARIANT_BOOL on) = 0;
    virtual HRESULT get_SinglePoint(VARIANT_BOOL* on) = 0;
    virtual HRESULT put_Dwell(double seconds) = 0;
    virtual HRESULT get_Dwell(double* seconds) = 0;
};

class IKorvelV8NPowerStep : public IUnknown {
public:
    virtual HRESULT Configure(double start, double stop, double step) = 0;
    virtual HRESULT get_Start(double* dbm) = 0;
    virtual HRESULT get_Stop(double* dbm) = 0;
    virtual HRESULT put_SinglePoint(VARIANT_BOOL on) = 0;
    virtual HRESULT get_SinglePoint(VARIANT_BOOL* on) = 0;
    virtual HRESULT put_Dwell(double seconds) = 0;
    virtual HRESULT get_Dwell(double* seconds) = 0;
};

class IKorvelV8NList : public IUnknown {
public:
    virtual HRESULT put_SinglePoint(VARIANT_BOOL on) = 0;
    virtual HRESULT get_SinglePoint(VARIANT_BOOL* on) = 0;
    virtual HRESULT put_Dwell(double seconds) = 0;
    virtual HRESULT get_Dwell(double* seconds) = 0;
    // On success both vectors hold what the instrument kept (it may shorten
    // and correct them).
    virtual HRESULT Configure(const std::string& name, std::vector<double>& frequencies,
                              std::vector<double>& levels) = 0;
};

class IKorvelV8NTriggerOutput : public IUnknown {
public:
    virtual HRESULT put_Duration(double seconds) = 0;
    virtual HRESULT get_Duration(double* seconds) = 0;
    // 0 off, 1001 sweep start, 1002 next point, 1003 PLL/ALC lock, 1 relay the trigger input
    virtual HRESULT put_Mode(std::int32_t mode) = 0;
    virtual HRESULT get_Mode(std::int32_t* mode) = 0;
    virtual HRESULT put_Inverted(VARIANT_BOOL inverted) = 0;
    virtual HRESULT get_Inverted(VARIANT_BOOL* inverted) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* enabled) = 0;
};

class IKorvelV8NSweep : public IUnknown {
public:
    virtual HRESULT get_FrequencyStep(IKorvelV8NFrequencyStep** out) = 0;
    virtual HRESULT get_PowerStep(IKorvelV8NPowerStep** out) = 0;
    virtual HRESULT get_List(IKorvelV8NList** out) = 0;
    virtual HRESULT get_TriggerOutput(IKorvelV8NTriggerOutput** out) = 0;
    // 0 none, 3 frequency step, 4 power step, 5 list
    virtual HRESULT put_Mode(std::int32_t mode) = 0;
    // 0 automatic, 1 external, 2 manual
    virtual HRESULT put_TriggerSource(std::int32_t source) = 0;
};

class IKorvelV8NSystem : public IUnknown {
public:
    virtual HRESULT get_SerialNumber(std::string* serial) = 0;
    virtual HRESULT get_Name(std::string* name) = 0;
    virtual HRESULT get_RfButton(VARIANT_BOOL* on) = 0;
    virtual HRESULT get_Locked(VARIANT_BOOL* locked) = 0;
    virtual HRESULT get_ExtRefLocked(VARIANT_BOOL* locked) = 0;
    virtual HRESULT get_LevelSettled(VARIANT_BOOL* settled) = 0;
    virtual HRESULT put_AttStrategy(std::int32_t strategy) = 0;
    virtual HRESULT get_AttStrategy(std::int32_t* strategy) = 0;
    virtual HRESULT put_ExtRefEnabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT get_ExtRefEnabled(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT put_ExtRefFrequency(double hz) = 0;
    virtual HRESULT get_ExtRefFrequency(double* hz) = 0;
    virtual HRESULT put_TriggerInputInverted(VARIANT_BOOL inverted) = 0;
    virtual HRESULT get_TriggerInputInverted(VARIANT_BOOL* inverted) = 0;
    virtual HRESULT put_PhaseOffset(std::int32_t degrees) = 0;
    virtual HRESULT get_PhaseOffset(std::int32_t* degrees) = 0;
    virtual HRESULT put_ExtPowerControl(VARIANT_BOOL enabled) = 0;
    virtual HRESULT get_ExtPowerControl(VARIANT_BOOL* enabled) = 0;
};

// Held by callers but without operations of its own in this driver.
class IKorvelV8NPulseGeneratorOutput : public IUnknown {};

class IKorvelV8NPulsePacketGenerator : public IUnknown {
public:
    virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;
    // On success both vectors hold what the instrument kept.
    virtual HRESULT Load(VARIANT_BOOL enable, std::vector<double>& widths,
                         std::vector<double>& gaps) = 0;
};

class IKorvelV8NPulseGenerator : public IUnknown {
public:
    virtual HRESULT get_Output(IKorvelV8NPulseGeneratorOutput** out) = 0;
    virtual HRESULT get_PacketGenerator(IKorvelV8NPulsePacketGenerator** out) = 0;
    virtual HRESULT put_Period(double seconds) = 0;
    virtual HRESULT get_Period(double* seconds) = 0;
    virtual HRESULT put_Width(double seconds) = 0;
    virtual HRESULT get_Width(double* seconds) = 0;
};

class IKorvelV8NPulseModulation : public IUnknown {
public:
    // get_Enabled answers KORVEL_E_NO_PULSE_MODULATION on a model without it.
    virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* enabled) = 0;
    // 0 internal generator, 1 external modulation input
    virtual HRESULT put_Source(std::int32_t source) = 0;
};

class IKorvelV8N : public IUnknown {
public:
    virtual HRESULT get_Utility(IIviDriverUtility** out) = 0;
    virtual HRESULT get_RF(IKorvelV8NRF** out) = 0;
    virtual HRESULT get_PulseGenerator(IKorvelV8NPulseGenerator** out) = 0;
    virtual HRESULT get_Sweep(IKorvelV8NSweep** out) = 0;
    virtual HRESULT get_PulseModulation(IKorvelV8NPulseModulation** out) = 0;
    virtual HRESULT SendTrigger() = 0;
    virtual HRESULT get_System(IKorvelV8NSystem** out) = 0;
    // resource: a VISA resource string; options: "GENERATOR" selects the
    // generator personality (comma-separated, blanks ignored, any case).
    virtual HRESULT Initialize(const std::string& resource, VARIANT_BOOL idQuery,
                               VARIANT_BOOL reset, const std::string& options) = 0;
    virtual HRESULT get_Initialized(VARIANT_BOOL* initialized) = 0;
    virtual HRESULT Close() = 0;
};

inline constexpr CLSID CLSID_KorvelV8N{0x5A3C1E20, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8N{0x5A3C1E21, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NSweep{0x5A3C1E22, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NFrequencyStep{0x5A3C1E23, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NPowerStep{0x5A3C1E24, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NList{0x5A3C1E25, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NRF{0x5A3C1E26, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NTriggerOutput{0x5A3C1E27, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NSystem{0x5A3C1E28, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NPulseGenerator{0x5A3C1E29, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NPulseGeneratorOutput{0x5A3C1E2A, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NPulseModulation{0x5A3C1E2B, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
inline constexpr IID IID_IKorvelV8NPulsePacketGenerator{0x5A3C1E2C, 0x7B41, 0x4D2A, {0x9F, 0x11, 0x3C, 0x52, 0x0E, 0x8A, 0x61, 0x01}};
// The IVI Foundation's driver utility interface.
inline constexpr IID IID_IIviDriverUtility{0x47ED5189, 0xA398, 0x11D4, {0xBA, 0x58, 0x00, 0x00, 0x64, 0x65, 0x73, 0x74}};

}  // namespace korvel

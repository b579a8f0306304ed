// The complete settings record of the synthesizer. Field names are the
// element and attribute names of the profile-list file; the record is a plain
// value, copying it copies the comment and both sequences.
//
// A default-constructed record holds the values a profile takes when its file
// lacks an attribute: every setting 0, every flag false, the comment and both
// sequences empty, the step settings at their defaults. MakeInitialProfile()
// gives the initial values of the controls instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/list_point.h"
#include "core/pulse.h"

namespace z5r {

// Step settings: `…inc` the edit's step in the field's unit, `…inctype` the
// edit's step-kind flag, `…incpow` the decimal exponent of the step (a real,
// applied truncated toward zero).
namespace stepdefaults {
inline constexpr double kTimeInc = 0.000001;  // dwell, synctime
inline constexpr double kTimeIncPow = -6.0;
inline constexpr double kPhaseInc = 1.0;
inline constexpr double kFreqInc = 1000000.0;  // frequency start, stop, center, span
inline constexpr double kFreqIncPow = 6.0;
inline constexpr double kCountInc = 1.0;       // frequency points
inline constexpr double kPowInc = 1.0;         // power start … limit
inline constexpr double kPulseTimeInc = 0.000001;  // tau, periodsingle, periodpacket
inline constexpr double kDutyInc = 1.0;        // q
}  // namespace stepdefaults

struct SControlParams {
    std::int32_t mode = 0;     // EOperatingMode
    std::int32_t trigger = 0;  // ETriggerMode
    std::int32_t runmode = 0;  // ERunMode
    double dwell = 0.0;        // s
    double dwellinc = stepdefaults::kTimeInc;
    bool dwellinctype = false;
    double dwellincpow = stepdefaults::kTimeIncPow;

    friend bool operator==(const SControlParams&, const SControlParams&) = default;
};

struct SFreqParams {
    std::int32_t mode = 0;  // ESweepType
    double start = 0.0;     // Hz
    double stop = 0.0;      // Hz
    double fix = 0.0;       // Hz: the centre, output frequency when it is fixed
    double points = 0.0;
    double startinc = stepdefaults::kFreqInc;
    double stopinc = stepdefaults::kFreqInc;
    double centerinc = stepdefaults::kFreqInc;
    double spaninc = stepdefaults::kFreqInc;
    double pointsinc = stepdefaults::kCountInc;
    bool startinctype = false;
    bool stopinctype = false;
    bool centerinctype = false;
    bool spaninctype = false;
    bool pointsinctype = false;
    double startincpow = stepdefaults::kFreqIncPow;
    double stopincpow = stepdefaults::kFreqIncPow;
    double centerincpow = stepdefaults::kFreqIncPow;
    double spanincpow = stepdefaults::kFreqIncPow;

    friend bool operator==(const SFreqParams&, const SFreqParams&) = default;
};

struct SPowParams {
    std::int32_t strategy = 0;  // EAttStrategy
    bool allowlimit = false;    // a maximum power level is set
    double start = 0.0;         // dBm
    double stop = 0.0;          // dBm
    double fix = 0.0;           // dBm: the centre, output level when it is fixed
    double points = 0.0;
    double limit = 0.0;         // dBm
    double startinc = stepdefaults::kPowInc;
    double stopinc = stepdefaults::kPowInc;
    double centerinc = stepdefaults::kPowInc;
    double spaninc = stepdefaults::kPowInc;
    double pointsinc = stepdefaults::kPowInc;
    double limitinc = stepdefaults::kPowInc;
    bool startinctype = false;
    bool stopinctype = false;
    bool centerinctype = false;
    bool spaninctype = false;
    bool pointsinctype = false;
    bool limitinctype = false;

    friend bool operator==(const SPowParams&, const SPowParams&) = default;
};

struct SSyncParams {
    std::int32_t syncmode = 0;  // ESyncOutMode
    std::int32_t rgfreq = 0;    // ERefFrequency
    bool syncin = false;        // invert the sync input
    bool syncout = false;       // invert the sync output
    bool epc = false;           // external power control
    bool erg = false;           // external reference oscillator
    double synctime = 0.0;      // s
    double phase = 0.0;         // degrees
    double synctimeinc = stepdefaults::kTimeInc;
    double phaseinc = stepdefaults::kPhaseInc;
    bool synctimeinctype = false;
    bool phaseinctype = false;
    double synctimeincpow = stepdefaults::kTimeIncPow;

    friend bool operator==(const SSyncParams&, const SSyncParams&) = default;
};

struct SPulseModParams {
    std::int32_t pulsemode = 0;  // EPulseMode
    double tau = 0.0;            // s
    double periodsingle = 0.0;   // s
    double q = 0.0;              // period / tau
    double periodpacket = 0.0;   // s
    double tauinc = stepdefaults::kPulseTimeInc;
    double periodsingleinc = stepdefaults::kPulseTimeInc;
    double qinc = stepdefaults::kDutyInc;
    double periodpacketinc = stepdefaults::kPulseTimeInc;
    bool tauinctype = false;
    bool periodsingleinctype = false;
    bool qinctype = false;
    bool periodpacketinctype = false;

    friend bool operator==(const SPulseModParams&, const SPulseModParams&) = default;
};

struct SProfile {
    SControlParams controlparams;
    SFreqParams freqparams;
    SPowParams powparams;
    SSyncParams syncparams;
    SPulseModParams pulsemodparams;
    std::string comment;
    std::vector<SPulse> packet;
    std::vector<SListPoint> listelements;

    friend bool operator==(const SProfile&, const SProfile&) = default;
};

// The record with the initial values of the controls (mode 0, reference
// 10 MHz, dwell 4 s, 501 points, levels at -130 dBm, …) and default steps.
SProfile MakeInitialProfile();

// A step exponent as the edits apply it: truncated toward zero.
int StepExponent(double incpow);

}  // namespace z5r

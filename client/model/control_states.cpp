#include "model/control_states.h"

#include "core/profile_enums.h"
#include "model/hand_step.h"

namespace z5r {

namespace {

constexpr std::array<const char*, kControlCount> kNames = {
    "ModeCB",
    "TriggerModeCB",
    "RunModeCB",
    "DwellEdit",
    "edtStart",
    "edtStop",
    "edtSpan",
    "edtPoints",
    "FreqFullRangeB",
    "LinLogRG",
    "edtCenter",
    "PowStart",
    "PowStop",
    "PowSpan",
    "PowFullRangeB",
    "PowPoints",
    "PowCenter",
    "PowLimit",
    "AllowLimitPowerCB",
    "SyncOutModeCB",
    "SyncOutCB",
    "SyncTimeEdit",
    "SyncInCB",
    "ERGCB",
    "PMModeCB",
    "EPCCB",
    "AttStrategyCB",
    "RGFreqCB",
    "HandModeStepAction",
    "SweepPB",
    "SingleModGroupBox",
    "PacketModGroupBox",
    "ListLV",
    "NewListAction",
    "OpenListAction",
    "OpenListAndAddAction",
    "AddLineAction",
    "SaveListAction",
    "F0Label",
    "P0Label",
};

}  // namespace

const char* ControlName(EControl control) { return kNames[static_cast<std::size_t>(control)]; }

std::optional<EControl> ControlByName(std::string_view name) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (name == kNames[i]) return static_cast<EControl>(i);
    }
    return std::nullopt;
}

SControlInputs ControlInputsFor(const SProfile& profile, bool connected, bool settingsLocked,
                                bool attStrategyOk, std::size_t segmentCount) {
    SControlInputs in;
    in.connected = connected;
    in.settingsLocked = settingsLocked;
    in.mode = profile.controlparams.mode;
    in.trigger = profile.controlparams.trigger;
    in.runmode = profile.controlparams.runmode;
    in.syncmode = profile.syncparams.syncmode;
    in.pulsemode = profile.pulsemodparams.pulsemode;
    in.attStrategyOk = attStrategyOk;
    in.ceilingChecked = !settingsLocked && profile.powparams.allowlimit;
    in.extRefChecked = !settingsLocked && profile.syncparams.erg;
    in.segmentCount = segmentCount;
    return in;
}

bool ControlsOff(const SControlInputs& in) { return !in.connected || in.settingsLocked; }

bool FrequencyRangeOn(const SControlInputs& in) {
    return !ControlsOff(in) && (in.mode == omFrequencySweep || in.mode == omFrequencyPowerSweep);
}

bool PowerRangeOn(const SControlInputs& in) {
    return !ControlsOff(in) && (in.mode == omPowerSweep || in.mode == omFrequencyPowerSweep);
}

CControlStates EnabledControls(const SControlInputs& in) {
    using enum EControl;
    const bool on = !ControlsOff(in);
    const bool f = FrequencyRangeOn(in);
    const bool p = PowerRangeOn(in);
    const bool sweeping = on && in.mode != omFixed;
    const bool centreOn = on && in.mode != omListSweep;
    const bool manualStepping =
        ManualSteppingActive(in.mode, in.trigger, in.runmode, in.settingsLocked);

    CControlStates s;
    s.Set(ModeCB, on);
    for (EControl c : {TriggerModeCB, RunModeCB, DwellEdit}) s.Set(c, sweeping);
    for (EControl c : {edtStart, edtStop, edtSpan, edtPoints, FreqFullRangeB, LinLogRG})
        s.Set(c, f);
    s.Set(edtCenter, centreOn);
    for (EControl c : {PowStart, PowStop, PowSpan, PowFullRangeB}) s.Set(c, p);
    s.Set(PowPoints, p && in.mode != omFrequencyPowerSweep);
    s.Set(PowCenter, centreOn);
    s.Set(PowLimit, on && !in.ceilingChecked);
    for (EControl c : {AllowLimitPowerCB, SyncOutModeCB, SyncOutCB, SyncInCB, ERGCB, PMModeCB})
        s.Set(c, on);
    s.Set(SyncTimeEdit, on && in.syncmode != soSyncInRepeat);
    s.Set(EPCCB, !in.settingsLocked);
    s.Set(AttStrategyCB, on && in.attStrategyOk);
    s.Set(RGFreqCB, on && !in.extRefChecked);
    const bool handStep = !in.settingsLocked && in.connected && in.trigger == tmManual;
    s.Set(HandModeStepAction, handStep);
    s.Set(SweepPB, handStep);
    s.Set(SingleModGroupBox, on && in.pulsemode == pmPeriodic);
    s.Set(PacketModGroupBox, on && in.pulsemode == pmPacket);
    for (EControl c : {ListLV, NewListAction, OpenListAction, OpenListAndAddAction, AddLineAction})
        s.Set(c, on);
    s.Set(SaveListAction, on && in.segmentCount > 0);
    const bool readouts = !in.settingsLocked && in.connected;
    s.Set(F0Label, readouts && ((centreOn && !f) || manualStepping));
    s.Set(P0Label, readouts && ((centreOn && !p) || manualStepping));
    return s;
}

}  // namespace z5r

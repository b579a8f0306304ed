// TMain: sending the frequency, the power, the dwell, the sync duration and
// the phase to the instrument, reading back what it accepted; the point
// lists of the client-built sweeps and manual stepping through them.
#include <QProgressBar>
#include <cmath>
#include <limits>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "gui_main.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/power_ceiling.h"
#include "model/send_rules.h"
#include "model/sweep_points.h"

namespace z5r {

namespace {

// The number of intervals of a sweep of `points` points (at least 1 point).
int Intervals(double points) {
    if (!(points >= 1.0)) return 0;
    constexpr double most = std::numeric_limits<int>::max();
    return static_cast<int>(std::fmin(std::trunc(points), most)) - 1;
}

}  // namespace

void TMain::ShowSweepProgress(int position) { SweepPB->setValue(position); }

void TMain::ShowSweepProgressMaximum(int points) { SweepPB->setMaximum(points); }

void TMain::ShowFixedReadouts(double frequency, double level) {
    F0Label->SetValue(frequency);
    P0Label->SetValue(level);
}

void TMain::ClearProfileMark() {
    // Seam: the current-profile mark belongs to the profile list, which is
    // not part of the window yet; there is no mark to clear.
}

void TMain::SendFrequency(bool range) {
    const bool locked = state_.settingsLocked;
    SFreqParams& f = profile_.freqparams;
    if (!range) {
        if (!locked) f.fix = edtCenter->GetValue();
        if (Connected()) {
            double value = FixedFrequencyToSend(f.fix, state_.limits);
            double unused = 0.0;
            Device()->SetFreq(value, unused, 1);
            if (value != f.fix) SetEditValue(eiCenter, value);
        }
        if (!locked) F0Label->SetValue(f.fix);
    } else {
        if (!locked) {
            f.start = edtStart->GetValue();
            f.stop = edtStop->GetValue();
            f.points = edtPoints->GetValue();
        }
        if (IsClientBuiltSweep(profile_)) {
            if (LimitClientListPoints(f)) SetEditValue(eiPoints, f.points);
            controller_.TransferSweepList(false);
        } else if (Connected()) {
            double start = f.start;
            double stop = f.stop;
            Device()->SetFreq(start, stop, Intervals(f.points));
            if (start != f.start) SetEditValue(eiStart, start);
            if (stop != f.stop) SetEditValue(eiStop, stop);
            RunPointsCoupling(eiPoints);
        }
        if (!locked) {
            F1Label->SetValue(f.start);
            F2Label->SetValue(f.stop);
        }
    }
    if (profile_.controlparams.mode != omFixed && profile_.controlparams.trigger == tmManual && !locked)
        controller_.RebuildManualSteps();
    MarkAll(false);
    RefreshSummary(slPoints);
    RefreshSummary(slFrequencyStep);
}

void TMain::SendPower(bool range) {
    const bool locked = state_.settingsLocked;
    SPowParams& p = profile_.powparams;
    if (!range) {
        if (!locked) p.fix = PowCenter->GetValue();
        if (Connected()) {
            double level = LimitPower(p, p.fix);
            double stop = level;
            Device()->SetPow(level, stop, 1);
            if (LevelReadBackDiffers(p.fix, level)) SetEditValue(eiPowCenter, level);
        }
        if (!locked) P0Label->SetValue(p.fix);
    } else if (IsClientBuiltSweep(profile_)) {
        if (LimitClientListPoints(profile_.freqparams))
            SetEditValue(eiPoints, profile_.freqparams.points);
        controller_.TransferSweepList(false);
    } else {
        if (!locked) {
            p.start = PowStart->GetValue();
            p.stop = PowStop->GetValue();
            p.points = PowPoints->GetValue();
        }
        if (Connected()) {
            double start = LimitPower(p, p.start);
            double stop = LimitPower(p, p.stop);
            Device()->SetPow(start, stop, Intervals(p.points));
            if (LevelReadBackDiffers(p.start, start)) SetEditValue(eiPowStart, start);
            // With the coupling, so centre and span follow the new stop.
            if (LevelReadBackDiffers(p.stop, stop)) SetEditValue(eiPowStop, stop, {ECoupling::Run});
            RunPointsCoupling(eiPowPoints);
        }
        if (!locked) {
            P1Label->SetValue(p.start);
            P2Label->SetValue(p.stop);
            if (profile_.controlparams.mode == omFrequencySweep && profile_.freqparams.mode == stLog)
                P0Label->SetValue(PowCenter->GetValue());
        }
    }
    if (profile_.controlparams.mode != omFixed && profile_.controlparams.trigger == tmManual && !locked)
        controller_.RebuildManualSteps();
    MarkAll(false);
    RefreshSummary(slPoints);
    RefreshSummary(slPowerStep);
}

void TMain::SendBothSweeps() {
    const bool locked = state_.settingsLocked;
    SFreqParams& f = profile_.freqparams;
    if (!locked) {
        f.start = edtStart->GetValue();
        f.stop = edtStop->GetValue();
        f.points = edtPoints->GetValue();
    }
    if (LimitClientListPoints(f)) SetEditValue(eiPoints, f.points);
    controller_.TransferSweepList(false);
    if (!locked) {
        F1Label->SetValue(edtStart->GetValue());
        F2Label->SetValue(edtStop->GetValue());
        P1Label->SetValue(PowStart->GetValue());
        P2Label->SetValue(PowStop->GetValue());
    }
    if (profile_.controlparams.trigger == tmManual && !locked) controller_.RebuildManualSteps();
    MarkAll(false);
    for (const ESummaryLine line : {slPoints, slFrequencyStep, slPowerStep}) RefreshSummary(line);
}

void TMain::SendModeRanges() {
    for (const EModeSend send : ModeSends(profile_.controlparams.mode)) {
        switch (send) {
            case EModeSend::FrequencyFixed: SendFrequency(false); break;
            case EModeSend::FrequencyRange: SendFrequency(true); break;
            case EModeSend::PowerFixed: SendPower(false); break;
            case EModeSend::PowerRange: SendPower(true); break;
            case EModeSend::BothSweeps:
                // That mode uses the frequency points for both.
                PowPoints->setEnabled(false);
                SendBothSweeps();
                break;
            case EModeSend::ListFromSegments: controller_.TransferSweepList(true); break;
        }
    }
}

void TMain::SendDwell() {
    double& dwell = profile_.controlparams.dwell;
    if (!state_.settingsLocked) dwell = DwellEdit->GetValue();
    if (Connected()) {
        double accepted = dwell;
        Device()->SetDwell(accepted);
        if (DwellReadBackDiffers(dwell, accepted)) SetEditValue(eiDwell, accepted);
    }
    MarkAll(false);
    RefreshSummary(slDwell);
}

void TMain::SendSyncTime() {
    double& synctime = profile_.syncparams.synctime;
    if (!state_.settingsLocked) synctime = SyncTimeEdit->GetValue();
    if (Connected()) {
        double accepted = synctime;
        Device()->SetSyncOutTime(accepted);
        // The edit keeps what was typed; the record holds what is in force.
        synctime = accepted;
    }
    MarkAll(false);
    RefreshSummary(slSyncTime);
}

void TMain::SendPhase() {
    double& phase = profile_.syncparams.phase;
    if (!state_.settingsLocked) phase = PhaseDelayEdit->GetValue();
    if (!Connected()) return;
    std::int32_t degrees = PhaseToSend(phase);
    Device()->SetPhase(degrees);
    if (static_cast<double>(degrees) != phase) {
        SetEditValue(eiPhase, degrees);
        MarkAll(false);
    }
}

}  // namespace z5r

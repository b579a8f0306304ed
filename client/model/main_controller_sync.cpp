// The controller: the handlers of the synchronisation, the external power
// control, the attenuator strategy and the external reference. Each takes
// what the operator chose, stores it unless the settings are locked, sends
// it and keeps what the instrument accepted.
#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "model/main_controller.h"
#include "model/parameter_summary.h"
#include "model/send_rules.h"
#include "z5r/i18n.h"

namespace z5r {

void CMainController::SyncOutModeCBChange(int chosen) {
    profilePanel_.ForgetApplied();
    CEventGuard::CScope scope(guard_);
    SSyncParams& s = profile_.syncparams;
    shown_.syncmode = chosen;
    if (!state_.settingsLocked) s.syncmode = chosen;
    if (Connected()) {
        bool enabled = s.syncmode != soNone;
        device_->SetSyncOutEnabled(enabled);
        if (enabled) {
            int mode = s.syncmode;
            device_->SetSyncOutMode(mode);
            s.syncmode = mode;
        }
    }
    ShowControlEnabled(EControl::SyncTimeEdit, !state_.controlsOff && s.syncmode != soSyncInRepeat);
    RefreshSummaryLine(slSyncOut);
}

void CMainController::SendFlag(bool checked, bool& field, FlagSender send, ESummaryLine summaryLine) {
    profilePanel_.ForgetApplied();
    CEventGuard::CScope scope(guard_);
    if (!state_.settingsLocked) field = checked;
    if (Connected()) {
        bool accepted = field;
        (device_.get()->*send)(accepted);
        field = accepted;
    }
    RefreshSummaryLine(summaryLine);
}

void CMainController::SyncOutCBClick(bool checked) {
    shown_.syncOut = checked;
    SendFlag(checked, profile_.syncparams.syncout, &CDevice::SetSyncOutInverse, slSyncOutInverse);
}

void CMainController::SyncInCBClick(bool checked) {
    shown_.syncIn = checked;
    SendFlag(checked, profile_.syncparams.syncin, &CDevice::SetSyncInInverse, slSyncInInverse);
}

void CMainController::EPCCBClick(bool checked) {
    CEventGuard::CScope scope(guard_);
    shown_.epc = checked;
    bool& epc = profile_.syncparams.epc;
    if (!state_.settingsLocked) epc = checked;
    if (Connected()) {
        // What the instrument reports is not kept: the record says what was asked.
        bool sent = epc;
        device_->SetEpc(sent);
    }
    RefreshSummaryLine(slExtPowerControl);
}

void CMainController::AttStrategyCBChange(int chosen) {
    profilePanel_.ForgetApplied();
    shown_.attStrategy = chosen;
    if (!state_.attStrategyOk) return;
    CEventGuard::CScope scope(guard_);
    int& strategy = profile_.powparams.strategy;
    if (!state_.settingsLocked) strategy = chosen;
    if (Connected()) {
        int accepted = strategy;
        device_->SetAttStrategy(accepted);
        strategy = accepted;
    }
    RefreshSummaryLine(slAttStrategy);
}

void CMainController::RGFreqCBChange(int chosen) {
    profilePanel_.ForgetApplied();
    shown_.rgfreq = chosen;
    if (!state_.settingsLocked) profile_.syncparams.rgfreq = chosen;
    RefreshSummaryLine(slExtRefFrequency);
}

void CMainController::ERGCBClick(bool checked) {
    profilePanel_.ForgetApplied();
    CEventGuard::CScope scope(guard_);
    shown_.extRef = checked;
    const bool locked = state_.settingsLocked;
    SSyncParams& s = profile_.syncparams;
    if (!locked) s.erg = checked;
    const int item = locked ? s.rgfreq : shown_.rgfreq;
    const double hz = item >= 0 && static_cast<std::size_t>(item) < kRefFrequencyItems.size()
                          ? ExtRefFrequencyHz(Tr(kRefFrequencyItems[static_cast<std::size_t>(item)]))
                          : 0.0;
    bool request = s.erg;
    bool failed = false;
    if (Connected()) {
        if (hz != 0.0) {
            double accepted = hz;
            const auto hr = device_->SetExtRefFreq(accepted);
            if ((request && hr != 0) || accepted != hz) failed = true;
        }
        if (failed) request = false;
        bool enable = request;
        if (device_->SetExtRef(enable) != 0) {
            failed = true;
            request = false;
        } else if (request && (!enable || !device_->GetExtRefLock())) {
            // Not taken, or taken without a signal to lock to: switched off
            // again below, so the instrument is back on its internal reference.
            failed = true;
            request = false;
        }
        if (request != s.erg) {
            // The instrument keeps it off when it could not lock.
            if (s.erg) {
                bool again = request;
                device_->SetExtRef(again);
            }
            s.erg = request;
            failed = true;
        }
    }
    if (!locked) {
        shown_.extRef = s.erg;
        ShowExtRef(s.erg, !state_.controlsOff && !s.erg);
        if (failed) {
            SPromptMessage message;
            message.caption = Tr("Ошибка");
            message.text = Tr("Внешний опорный генератор не смог произвести захват частоты или не был подключен");
            message.icon = EPromptIcon::Error;
            prompt_.ShowMessage(message);
        }
    }
    RefreshSummaryLine(slExtRef);
    RefreshSummaryLine(slExtRefFrequency);
}

}  // namespace z5r

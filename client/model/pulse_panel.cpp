#include "model/pulse_panel.h"

#include <limits>
#include <utility>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "model/control_states.h"
#include "model/edit_table.h"
#include "model/main_controller.h"
#include "model/main_view.h"
#include "model/packet_editor_dialog.h"
#include "model/packet_transfer.h"
#include "model/pulse_window.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The modulation sources of the instrument.
constexpr int kInternalGenerator = 0;
constexpr int kExternalInput = 1;
// The shortest duty factor the instrument reads back as meaningful.
constexpr double kLeastDutyFactor = 1.0;

EPulseEdit PeriodicEditOf(int edit) {
    switch (edit) {
        case eiTau: return EPulseEdit::Duration;
        case eiPeriodSingle: return EPulseEdit::Period;
        default: return EPulseEdit::DutyFactor;
    }
}

bool IsPeriodicEdit(int edit) { return edit == eiTau || edit == eiPeriodSingle || edit == eiQ; }

SPromptMessage Warning(std::string text, EPromptButtons buttons) {
    SPromptMessage message;
    message.caption = Tr("Внимание");
    message.text = std::move(text);
    message.icon = EPromptIcon::Warning;
    message.buttons = buttons;
    return message;
}

}  // namespace

EPulseModeStep PulseModeStep(int pulseMode, int operatingMode, bool packetEmpty) {
    if (pulseMode == pmNone) return EPulseModeStep::Stop;
    if (operatingMode != omFixed) return EPulseModeStep::AskForFixedMode;
    switch (pulseMode) {
        case pmPeriodic: return EPulseModeStep::ConfirmPeriodic;
        case pmPacket: return packetEmpty ? EPulseModeStep::ReportNoPacket : EPulseModeStep::ConfirmPacket;
        case pmExternal: return EPulseModeStep::ExternalSource;
        default: return EPulseModeStep::Stop;  // no such item: nothing may run
    }
}

SPulseGroups PulseGroupsEnabled(int pulseMode, bool controlsOff) {
    return {!controlsOff && pulseMode == pmPeriodic, !controlsOff && pulseMode == pmPacket};
}

std::string FixedModeQuestion() {
    // The mode's name is translated on its own, so the sentence quotes it as
    // the selector shows it.
    return Tr("Импульсная модуляция поддерживается только в режиме работы \"") +
           Tr("Фиксированная частота и мощность") + "\"! \r\n " + Tr("Включить этот режим?");
}

CPulsePanel::CPulsePanel(CMainController& controller, IMainView& view) : controller_(controller), view_(view) {}

bool CPulsePanel::Locked() const { return controller_.State().settingsLocked; }

bool CPulsePanel::Usable() const {
    return controller_.Connected() && controller_.Device()->HasPulseMod();
}

SPulseEdits CPulsePanel::Values(const SPulseEdits& shown) const {
    if (!Locked()) return shown;
    const SPulseModParams& m = controller_.Profile().pulsemodparams;
    return {m.tau, m.periodsingle, m.q, m.periodpacket};
}

void CPulsePanel::Write(int edit, double value) { 
    controller_.SetEditValue(edit, value, {ECoupling::Quiet, Locked() ? EDisabledEdit::Keep : EDisabledEdit::Overwrite});
}

void CPulsePanel::PMModeCBChange(int chosen) {
    controller_.Run([&] {
        if (!Usable()) return;
        SProfile& profile = controller_.Profile();
        SPulseModParams& m = profile.pulsemodparams;
        if (!Locked()) m.pulsemode = chosen;
        controller_.Profiles().ForgetApplied();
        // The chosen mode's edits are usable before its step writes into them:
        // a disabled edit would keep showing the value before the bounds.
        ShowGroups();
        switch (PulseModeStep(m.pulsemode, profile.controlparams.mode, packet_.empty())) {
            case EPulseModeStep::Stop: StopPulseModulation(); break;
            case EPulseModeStep::AskForFixedMode: AskForFixedMode(); break;
            case EPulseModeStep::ConfirmPeriodic:
                if (window_ != nullptr) window_->ConfirmEdit(eiTau);
                break;
            case EPulseModeStep::ConfirmPacket:
                if (window_ != nullptr) window_->ConfirmEdit(eiPeriodPacket);
                break;
            case EPulseModeStep::ReportNoPacket:
                StopPulseModulation();
                ReportNoPacket();
                break;
            case EPulseModeStep::ExternalSource:
                if (controller_.Connected()) controller_.Device()->SetPulseSource(kExternalInput);
                break;
        }
        // The question may have ended the pulses.
        ShowGroups();
    });
}

void CPulsePanel::ShowGroups() {
    const SPulseGroups groups =
        PulseGroupsEnabled(controller_.Profile().pulsemodparams.pulsemode, controller_.State().controlsOff);
    view_.ShowControlEnabled(EControl::SingleModGroupBox, groups.periodic);
    view_.ShowControlEnabled(EControl::PacketModGroupBox, groups.packet);
}

void CPulsePanel::AskForFixedMode() {
    SProfile& profile = controller_.Profile();
    if (controller_.Prompt().ShowMessage(Warning(FixedModeQuestion(), EPromptButtons::YesNo)) == EPromptResult::Yes) {
        // The pulses go out at the next confirmation or choice of a pulse mode.
        profile.controlparams.mode = omFixed;
        if (window_ == nullptr) return;
        if (!Locked()) window_->ShowOperatingMode(omFixed);
        window_->RunOperatingModeChange();
        return;
    }
    StopPulseModulation();
    profile.pulsemodparams.pulsemode = pmNone;
    if (!Locked() && window_ != nullptr) window_->ShowPulseMode(pmNone);
}

void CPulsePanel::ReportNoPacket() {
    controller_.Prompt().ShowMessage(Warning(Tr("Пачка радиоимпульсов не задана"), EPromptButtons::Ok));
}

void CPulsePanel::OperatingModeChanged() {
    const SProfile& profile = controller_.Profile();
    if (profile.controlparams.mode != omFixed && profile.pulsemodparams.pulsemode != pmNone)
        PMModeCBChange(profile.pulsemodparams.pulsemode);
}

void CPulsePanel::PulseEditChange(int edit, const SPulseEdits& shown) {
    const SMainState& state = controller_.State();
    // Filling the window from the record, or a locked window, writes nothing.
    if (!IsPeriodicEdit(edit) || !state.formShown || state.uiRefresh || state.settingsLocked) return;
    controller_.Run([&] {
        if (window_ != nullptr) window_->MarkPeriodicEditsChanged();
        const EPulseEdit changed = PeriodicEditOf(edit);
        const SPulseValues coupled = PeriodicPulseTyped(changed, {shown.tau, shown.period, shown.q});
        if (changed == EPulseEdit::DutyFactor) {
            Write(eiPeriodSingle, coupled.period);
        } else if (shown.tau != 0.0) {
            Write(eiQ, coupled.q);
        }
    });
}

void CPulsePanel::PulseEditConfirmed(int edit, const SPulseEdits& shown) {
    controller_.Run([&] {
        if (edit == eiPeriodPacket) {
            ConfirmPacketPeriod(Values(shown).periodPacket);
        } else if (IsPeriodicEdit(edit)) {
            ConfirmPeriodic(PeriodicEditOf(edit), shown);
        }
    });
}

void CPulsePanel::ConfirmPeriodic(EPulseEdit edit, const SPulseEdits& shown) {
    SPulseEdits values = Values(shown);
    const SPulseValues bounded = PeriodicPulseConfirmed(edit, {values.tau, values.period, values.q});
    Write(eiTau, bounded.tau);
    Write(eiPeriodSingle, bounded.period);
    Write(eiQ, bounded.q);
    controller_.MarkAll(false);
    values.tau = bounded.tau;
    values.period = bounded.period;
    values.q = bounded.q;
    SendPulseModulation(EPulseSend::Periodic, values);
}

void CPulsePanel::ConfirmPacketPeriod(double periodPacket) {
    const EPacketPeriodVerdict verdict = JudgePacketPeriod(periodPacket, packet_);
    // An empty packet is not too short: the colour says only that.
    if (window_ != nullptr) window_->ShowPacketPeriodTooShort(verdict == EPacketPeriodVerdict::TooShort);
    switch (verdict) {
        case EPacketPeriodVerdict::TooShort: return;
        case EPacketPeriodVerdict::NoPacket: ReportNoPacket(); return;
        case EPacketPeriodVerdict::Send: {
            SPulseEdits values;
            values.periodPacket = periodPacket;
            SendPulseModulation(EPulseSend::Packet, values);
            return;
        }
    }
}

void CPulsePanel::PacketParamsButtonClick(double periodPacketShown) {
    controller_.Run([&] {
        SPulseModParams& m = controller_.Profile().pulsemodparams;
        if (!Locked()) m.periodpacket = periodPacketShown;
        IPacketEditorDialog* editor = window_ != nullptr ? window_->PacketEditor() : nullptr;
        if (editor == nullptr) return;
        double period = m.periodpacket;
        if (!editor->EditPacket(packet_, period, kShortestPulseWidth)) return;
        Write(eiPeriodPacket, period);
        if (!packet_.empty()) {
            window_->ConfirmEdit(eiPeriodPacket);
            return;
        }
        StopPulseModulation();
        ReportNoPacket();
    });
}

void CPulsePanel::SendPulseModulation(EPulseSend what, const SPulseEdits& shown) {
    if (!controller_.Connected()) return;
    CDevice& device = *controller_.Device();
    SPulseModParams& m = controller_.Profile().pulsemodparams;
    const bool locked = Locked();
    device.SetPulseSource(kInternalGenerator);
    if (what == EPulseSend::Periodic) {
        if (!locked) {
            m.tau = shown.tau;
            m.periodsingle = shown.period;
            m.q = shown.q;
        }
        double width = m.tau;
        double period = m.periodsingle;
        double duty = m.q;
        device.SetPeriodicPulse(width, period, duty);
        if (width != m.tau) Write(eiTau, width);
        if (period != m.periodsingle) Write(eiPeriodSingle, period);
        m.tau = width;
        m.periodsingle = period;
        if (duty >= kLeastDutyFactor) {
            if (duty != m.q) Write(eiQ, duty);
            m.q = duty;
        } else {
            m.q = kNaN;
        }
    } else {
        if (!locked) m.periodpacket = shown.periodPacket;
        std::vector<SPulse> pulses = PulsesToSend(packet_);
        double period = m.periodpacket;
        device.LoadPacket(pulses, period);
        MergeReadBack(packet_, pulses);
        if (period != m.periodpacket) Write(eiPeriodPacket, period);
        m.periodpacket = period;
    }
    controller_.MarkAll(false);
    // The current-profile mark belongs to the profile list, which is not part
    // of the window yet; there is no mark to clear.
}

void CPulsePanel::StopPulseModulation() {
    if (controller_.Connected()) controller_.Device()->PulseModOff();
}

}  // namespace z5r

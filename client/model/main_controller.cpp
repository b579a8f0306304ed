#include "model/main_controller.h"

#include <cstdint>
#include <utility>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "model/edit_table.h"
#include "model/list_transfer.h"
#include "model/parameter_summary.h"
#include "model/poll_errors.h"
#include "model/power_ceiling.h"
#include "model/sweep_points.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

std::string Trimmed(std::string text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

SPromptMessage ReconnectQuestion(const std::string& text) {
    SPromptMessage question;
    question.text = text;
    question.icon = EPromptIcon::Warning;
    question.buttons = EPromptButtons::RetryCancel;
    question.flags = pfTopmost;
    return question;
}

void TakeRanges(EditStates& edits, const EditRanges& ranges) {
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i].minimum = ranges[i].minimum;
        edits[i].maximum = ranges[i].maximum;
    }
}

// The transfer's requests, answered by the controller and its view.
class CTransferWindow final : public ITransferWindow {
public:
    CTransferWindow(CMainController& controller, IMainView& view) : controller_(controller), view_(view) {}
    void SwitchRfOff() override { controller_.SwitchRfOff(); }
    void SetStepCount(std::size_t points) override { view_.ShowSweepProgressMaximum(static_cast<int>(points)); }
    void RestartHandStep() override {
        controller_.ResetHandStep();
        controller_.HandStep(true);
    }
    void ClearProfileMark() override { controller_.Profiles().ForgetApplied(); }
    void SetEditValue(const SEditWrite& write) override {
        controller_.SetEditValue(write.edit, write.value, {CouplingOf(write)});
    }
    void ClearChangedMarks() override { controller_.MarkAll(false); }
    void RefreshSummary(int line) override { controller_.RefreshSummaryLine(static_cast<ESummaryLine>(line)); }

private:
    CMainController& controller_;
    IMainView& view_;
};

}  // namespace

CMainController::CMainController(IMainView& view, IPrompt& prompt, SControllerOptions options)
    : view_(view), guard_([this] { WhenIdle(); }), prompt_(prompt, guard_), options_(std::move(options)) {
    TakeRanges(edits_, InitialEditRanges());
}

CMainController::~CMainController() {
    // An instrument still connected is let go at the driver level.
    if (device_ != nullptr && device_->IsConnected()) device_->Disconnect();
}

bool CMainController::Connected() const { return device_ != nullptr && device_->IsConnected(); }

void CMainController::ReleaseDevice() {
    if (device_ != nullptr) released_.push_back(std::move(device_));
}

void CMainController::WhenIdle() {
    released_.clear();
    // A box of the deferred tick may defer the next one.
    while (tickDeferred_ && polling_) {
        tickDeferred_ = false;
        Tick();
        released_.clear();
    }
    tickDeferred_ = false;
}

void CMainController::StopPoll() {
    polling_ = false;
    tickDeferred_ = false;
    view_.StopPoll();
}

// ---------------------------------------------------------------- connection

std::string CMainController::OpenConnection(const std::string& address) {
    CEventGuard::CScope scope(guard_);
    if (device_ == nullptr) device_ = std::make_unique<CDevice>(prompt_, [this] { view_.RequestTerminate(); });
    if (!device_->IsConnected()) {
        const std::string error = device_->Connect(address, options_.instrumentPort ? options_.instrumentPort() : kInstrumentPort);
        if (!error.empty()) {
            ReleaseDevice();
            return error;
        }
    }

    state_.connectedFlag = true;
    state_.hasPulseModUi = device_->HasPulseMod();
    state_.superuserMenu = device_->IsSecure();
    state_.settingsLocked = state_.superuserMenu && !state_.superuserIn;
    listPanel_.ShowAllSegments();
    PushInstrumentLimits();
    profilePanel_.LoadUserList();
    device_->SetLinkLost(false);
    state_.attStrategyOk = device_->ProbeAttStrategy();
    // Never offered while the settings are locked. Shown together with the
    // controls' states: one pause in the exchanges with the instrument, not two.
    view_.ShowPulsePanel(state_.hasPulseModUi && !state_.settingsLocked);
    SetControlsState(true);
    state_.currentAddress = address;
    ApplyCurrentSettings();
    // Ending the program from a failure dialog of the application closed the
    // session already; nothing is left to watch.
    if (!Connected()) return {};

    SInstrumentIdentity instrument;
    instrument.address = address;
    device_->GetSerial(instrument.serial);
    instrument.serial = Trimmed(instrument.serial);
    device_->GetName(instrument.name);
    instrument.name = Trimmed(instrument.name);
    view_.ShowConnected(instrument);
    polling_ = true;
    view_.StartPoll();
    return {};
}

void CMainController::PushInstrumentLimits() {
    if (Connected()) {
        SInstrumentLimits& limits = state_.limits;
        double unusedPoints = 0.0;
        device_->GetFreqRange(limits.minFreq, limits.maxFreq, limits.maxPoints);
        device_->GetPowRange(limits.minPow, limits.maxPow, unusedPoints);
    }
    coupling_.SetLimits(state_.limits);
    const EditRanges ranges = EditRangesFor(state_.limits);
    TakeRanges(edits_, ranges);
    view_.ShowEditRanges(ranges, PowLimitRangeFor(state_.limits));
}

void CMainController::DisconnectActionExecute() {
    CEventGuard::CScope scope(guard_);
    Disconnect();
}

void CMainController::Disconnect() {
    if (!Connected()) return;
    // A lost link takes no request any more.
    if (!device_->IsLinkLost() && device_->IsRfOn()) SwitchRfOff();
    // The RF-off step may already have closed the session (the operator
    // chose to end the program after a failure); Disconnect is safe either way.
    if (device_ != nullptr && device_->IsConnected()) device_->Disconnect();
    ReleaseDevice();

    // Nothing radiates without a connection, whatever the link let us ask.
    state_.rfEnabled = false;
    view_.ShowRfOutput(false);
    view_.ShowRfButton(false);
    view_.ShowRfRadiating(false);
    view_.ShowInstrumentError({});

    state_.hasPulseModUi = false;
    view_.ShowPulsePanel(false);
    state_.connectedFlag = false;
    profilePanel_.SaveUserList();
    state_.superuserMenu = false;
    ResetHandStep();
    SetControlsState(false);
    RefreshSummary();
    view_.ShowDisconnected();
    StopPoll();
    for (const EIndicator indicator : {EIndicator::Power, EIndicator::Level, EIndicator::Capture})
        view_.ShowIndicator(indicator, false);
}

// ---------------------------------------------------------- setting controls

SControlInputs CMainController::ControlInputs(bool connected) const {
    // The sweep list arrives with the list panel; until then it has no rows.
    return ControlInputsFor(profile_, connected, state_.settingsLocked, state_.attStrategyOk,
                            listPanel_.Segments().size());
}

void CMainController::SetControlsState(bool connected) {
    state_.controlsOff = !connected || state_.settingsLocked;
    nextPointMode_ = z5r::NextPointMode(profile_, state_.settingsLocked);
    const SControlInputs in = ControlInputs(connected);
    RefreshPanels(in);
    view_.ShowSuperuserMenu(state_.superuserMenu);
    state_.uiRefresh = true;
    const SDisplayedControls shown = DisplayedControls(profile_, in);
    for (int i = 0; i < kEditCount; ++i) edits_[static_cast<std::size_t>(i)].value = shown.edits[static_cast<std::size_t>(i)];
    shown_ = shown;
    view_.ShowControlValues(shown);
    state_.uiRefresh = false;
    profilePanel_.ResetActions(connected);
    MarkAll(false);
}

void CMainController::RefreshPanels() { RefreshPanels(ControlInputs(Connected())); }

void CMainController::RefreshPanels(const SControlInputs& in) {
    // The phase offset is a setting like the others of its panel and is
    // usable exactly when they are.
    ShowEnabledStates(EnabledControls(in), !state_.controlsOff);
    view_.ShowStateImages(StateImages(profile_.controlparams, state_.controlsOff));
}

// ---------------------------------------------------------------- the poll

void CMainController::Timer1Timer() {
    if (guard_.Busy()) {
        tickDeferred_ = polling_;
        return;
    }
    CEventGuard::CScope scope(guard_);
    Tick();
}

void CMainController::Tick() {
    if (!Connected()) return;
    if (!CheckErrors()) return;

    const bool rfButton = device_->GetRfButton();
    view_.ShowRfButton(rfButton);
    // The level is asked for only while the output can radiate.
    view_.ShowIndicator(EIndicator::Level, rfButton && device_->IsRfOn() && device_->GetLevelSettled());
    view_.ShowIndicator(EIndicator::Power, rfButton && state_.rfEnabled);
    if (profile_.syncparams.erg && !device_->GetExtRefLock()) LoseExternalReference();
    if (!Connected()) return;  // the operator chose to end the program after a failure
    view_.ShowRfRadiating(rfButton && state_.rfEnabled);
    view_.ShowIndicator(EIndicator::Capture, device_->GetLock());
}

bool CMainController::CheckErrors() {
    std::vector<SError> errors;
    device_->ReadErrors(errors);

    bool goOn = true;
    for (const SError& error : errors) {
        const EPollError kind = ClassifyPollError(error.code);
        if (kind == EPollError::LinkLost) {
            // Stopped before any box can come up, so no later tick reports it again.
            StopPoll();
            device_->SetLinkLost(true);
            break;
        }
        goOn = false;
        // The reference box is shown unlocked only, as the check box is.
        const bool extRefInUse = !state_.settingsLocked && profile_.syncparams.erg;
        if (kind == EPollError::ExtRefLost && extRefInUse) {
            LoseExternalReference();
        } else {
            // The operator learns why the output went off, without a box.
            view_.ShowInstrumentError(error.text);
            if (state_.rfEnabled) SwitchRfOff();
        }
        if (!Connected()) return false;  // the operator chose to end the program after a failure
    }

    if (!device_->IsLinkLost()) return goOn;
    Disconnect();
    return OfferReconnect();
}

void CMainController::LoseExternalReference() {
    // Cleared before the box, so a tick after it does not raise it again.
    profile_.syncparams.erg = false;
    shown_.extRef = false;
    ShowExtRef(false, !state_.controlsOff);
    // The instrument left on an external reference it cannot lock to would
    // disagree with the window.
    bool extRef = false;
    device_->SetExtRef(extRef);
    RefreshSummaryLine(slExtRef);
    RefreshSummaryLine(slExtRefFrequency);
    if (state_.rfEnabled) SwitchRfOff();

    SPromptMessage message;
    message.caption = Tr("Ошибка");
    message.text = Tr("Потерян захват частоты внешнего опорного генератора. ") +
                   Tr("Прибор переключен на внутренний опорный генератор.");
    message.icon = EPromptIcon::Error;
    message.flags = pfNoOwner;
    prompt_.ShowMessage(message);
}

bool CMainController::OfferReconnect() {
    const std::string retryHint = Tr(" Нажмите \"Повтор\" для восстановления.");
    if (prompt_.ShowMessage(ReconnectQuestion(Tr("Потеряна связь с прибором. Нажмите \"Повтор\" для восстановления."))) !=
        EPromptResult::Retry) {
        return false;
    }
    for (;;) {
        const std::string error = OpenConnection(state_.currentAddress);
        if (error.empty()) return true;
        if (prompt_.ShowMessage(ReconnectQuestion(error + retryHint)) != EPromptResult::Retry) break;
    }
    Disconnect();
    return false;
}

// ------------------------------------------- RF output, stepping, the list

void CMainController::EnableRFActionExecute() {
    CEventGuard::CScope scope(guard_);
    const bool before = state_.rfEnabled;
    bool requested = !before;
    if (!Connected() || device_->SetRf(requested) != 0) {
        view_.ShowRfOutput(before);
        return;
    }
    // What the instrument read back is what the window and the session hold.
    state_.rfEnabled = requested;
    view_.ShowRfOutput(state_.rfEnabled);
    if (state_.rfEnabled && !before) TransferSweepList(profile_.controlparams.mode == omListSweep);
}

void CMainController::SwitchRfOff() {
    if (state_.rfEnabled) EnableRFActionExecute();
}

void CMainController::ResetHandStep() {
    handStepper_.Reset();
    view_.ShowSweepProgress(0);
}

void CMainController::HandStep(bool byOperator) {
    const SHandStep step = handStepper_.Step(listPoints_, Connected(), nextPointMode_, byOperator);
    switch (step.kind) {
        case SHandStep::EKind::None: return;
        case SHandStep::EKind::Trigger: device_->Trigger(); return;
        case SHandStep::EKind::SetPoint: {
            double frequency = step.frequency;
            double level = step.level;
            device_->SetFixFreqPow(frequency, level);
            if (!state_.settingsLocked) view_.ShowFixedReadouts(frequency, level);
            view_.ShowSweepProgress(static_cast<int>(step.progress));
            return;
        }
    }
}

void CMainController::BuildManualPoints() {
    if (profile_.controlparams.mode == omListSweep) {
        ExpandSegments(listPoints_, listPanel_.Segments(), PowerCeiling(profile_.powparams));
    } else {
        BuildSweepPoints(listPoints_, profile_);
    }
    view_.ShowSweepProgressMaximum(static_cast<int>(listPoints_.Size()));
}

void CMainController::RebuildManualSteps() {
    ResetHandStep();
    BuildManualPoints();
    if (nextPointMode_) HandStep(false);
}

void CMainController::TransferSweepList(bool fromSegments) {
    if (device_ == nullptr) return;
    CTransferWindow window(*this, view_);
    STransferRequest request;
    request.source = fromSegments ? EListSource::ListPanel : EListSource::SweepParameters;
    request.settingsLocked = state_.settingsLocked;
    request.uiRefresh = state_.uiRefresh;
    request.listRefreshing = listPanel_.Refreshing();
    CDeviceListSession session(*device_);
    TransferList(request, profile_, listPanel_.Segments(), listPoints_, session, window, prompt_);
}

}  // namespace z5r

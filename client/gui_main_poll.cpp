// TMain: the one-second status poll. It reads the driver's error queue and
// the instrument's state, switches the RF output off on errors, notices a
// lost external reference and a lost link, and offers to reconnect.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "core/z5r_device.h"
#include "gui_main.h"
#include "korvel/components/form_connect.h"
#include "korvel/components/kv_indicator.h"
#include "ui/prompt.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

// The instrument lost the lock on the external reference (KV_EXTREF_NO_PLL).
constexpr std::uint32_t kExtRefLostCode = 0xFFFF801Cu;
// The VISA error range: a transfer failed, the link is gone.
constexpr std::uint32_t kLinkErrorFirst = 0xBFFF0000u;
constexpr std::uint32_t kLinkErrorLast = 0xBFFF00A8u;

bool IsLinkError(std::uint32_t code) { return code >= kLinkErrorFirst && code <= kLinkErrorLast; }

// The image of EnableRFAction: 3 while the output really radiates, 4 otherwise.
constexpr int kRfImageOn = 3;
constexpr int kRfImageOff = 4;

SPromptMessage ReconnectQuestion(const std::string& text) {
    SPromptMessage question;
    question.text = text;
    question.icon = EPromptIcon::Warning;
    question.buttons = EPromptButtons::RetryCancel;
    question.flags = pfTopmost;
    return question;
}

}  // namespace

void TMain::Timer1Timer() {
    if (device_ == nullptr || !device_->IsConnected()) return;

    // 1.
    if (CheckErrors() != 0) return;

    // 2.
    const bool rfButton = device_->GetRfButton();
    SVCHLabelItem->setText(QString::fromStdString(Tr("Кнопка СВЧ: ") + Tr(rfButton ? "вкл" : "выкл")));

    // 3. The level is asked for only while the output can radiate.
    LevelInd->SetActive(rfButton && device_->IsRfOn() && device_->GetLevelSettled());

    // 4.
    PowInd->SetActive(rfButton && state_.rfEnabled);

    // 5.
    if (profile_.syncparams.erg && !device_->GetExtRefLock()) LoseExternalReference();
    if (!device_->IsConnected()) return;  // the operator chose to end the program after a failure

    // 6.
    EnableRFAction->setProperty("imageIndex", rfButton && state_.rfEnabled ? kRfImageOn : kRfImageOff);

    // 7.
    CaptureInd->SetActive(device_->GetLock());
}

int TMain::CheckErrors() {
    // 1.
    std::vector<SError> errors;
    device_->ReadErrors(errors);

    // 2.
    int result = 0;
    for (const SError& error : errors) {
        const auto code = static_cast<std::uint32_t>(error.code);
        if (IsLinkError(code)) {
            // Stopped before any box can come up, so no later tick reports it again.
            Timer1->stop();
            device_->SetLinkLost(true);
            break;
        }
        result = -1;
        if (code == kExtRefLostCode && ERGCB->isChecked()) {
            LoseExternalReference();
        } else if (state_.rfEnabled) {
            SwitchRfOff();
        }
        if (!device_->IsConnected()) return -1;  // the operator chose to end the program after a failure
    }

    // 3.
    if (!device_->IsLinkLost()) return result;
    DisconnectActionExecute();
    if (connectDialog_ != nullptr) connectDialog_->SetState(korvel::csDisconnected);
    return OfferReconnect();
}

void TMain::LoseExternalReference() {
    // Cleared before the box, so a tick while it is open does not raise it again.
    profile_.syncparams.erg = false;
    {
        const QSignalBlocker quiet(ERGCB);
        ERGCB->setChecked(false);
    }
    RGFreqCB->setEnabled(!state_.controlsOff);
    if (state_.rfEnabled) SwitchRfOff();

    SPromptMessage message;
    message.caption = Tr("Ошибка");
    message.text = Tr("Потерян захват частоты внешнего опорного генератора. ") +
                   Tr("Прибор переключен на внутренний опорный генератор.");
    message.icon = EPromptIcon::Error;
    message.flags = pfNoOwner;
    prompt_.ShowMessage(message);
}

int TMain::OfferReconnect() {
    const std::string retryHint = Tr(" Нажмите \"Повтор\" для восстановления.");
    if (prompt_.ShowMessage(ReconnectQuestion(Tr("Потеряна связь с прибором. Нажмите \"Повтор\" для восстановления."))) !=
        EPromptResult::Retry) {
        return -1;
    }
    for (;;) {
        const std::string error = OpenConnection(state_.currentAddress);
        if (error.empty()) return 0;
        if (prompt_.ShowMessage(ReconnectQuestion(error + retryHint)) != EPromptResult::Retry) break;
    }
    DisconnectActionExecute();
    return -1;
}

}  // namespace z5r

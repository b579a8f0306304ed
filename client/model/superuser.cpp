#include "model/superuser.h"

#include "core/paths.h"
#include "model/password_rules.h"
#include "model/password_store.h"
#include "z5r/i18n.h"

namespace z5r {

CSuperuser::CSuperuser(SMainState& state, IPrompt& prompt, std::function<void()> refresh)
    : state_(state), prompt_(prompt), refresh_(std::move(refresh)),
      storePath_(PasswordStorePath(GetVxDir(dirApplication))) {}

void CSuperuser::Attach(ISuperuserView* view) {
    view_ = view;
    Show();
}

void CSuperuser::Show() {
    if (view_ != nullptr) view_->ShowSuperuserActions(actions_);
}

void CSuperuser::ReportBrokenStore() {
    prompt_.ShowMessage(SPromptMessage{Tr(Z5R_TEXT("Ошибка")),
                                       Tr(Z5R_TEXT("Невозможна работа в режиме суперпользователя. Переустановите программу.")),
                                       EPromptIcon::Error, EPromptButtons::Ok, pfNone});
}

void CSuperuser::PassSuperuserActionExecute() {
    const std::optional<std::string> stored = ReadPassword(storePath_);
    if (!stored) {
        ReportBrokenStore();
        return;
    }
    if (!QueryPassword(prompt_, *stored)) return;
    actions_ = SSuperuserActions{false, true, true};
    Show();
    state_.settingsLocked = false;
    state_.superuserIn = true;
    if (state_.connectedFlag && refresh_) refresh_();
}

void CSuperuser::ExitSupermodeActionExecute() {
    state_.settingsLocked = true;
    state_.superuserIn = false;
    actions_ = SSuperuserActions{};
    Show();
    if (state_.connectedFlag && refresh_) refresh_();
}

void CSuperuser::ChangePassSuperuserActionExecute() {
    const std::optional<std::string> stored = ReadPassword(storePath_);
    if (!stored) {
        ReportBrokenStore();
        return;
    }
    const std::optional<std::string> password = QueryNewPassword(prompt_, *stored);
    if (!password) return;
    if (!WritePassword(storePath_, *password)) {
        ReportBrokenStore();
        ExitSupermodeActionExecute();
    }
}

}  // namespace z5r

// Superuser mode: logging in with the stored password, logging out and
// changing the password, with the three commands of the submenu enabled to
// match. Logging in unlocks the settings of a secure-mode instrument.
#pragma once

#include <functional>
#include <string>

#include "model/main_state.h"
#include "ui/prompt.h"

namespace z5r {

// The commands of the submenu "Режим суперпользователя".
struct SSuperuserActions {
    bool login = true;
    bool change = false;
    bool logout = false;

    friend bool operator==(const SSuperuserActions&, const SSuperuserActions&) = default;
};

class ISuperuserView {
public:
    virtual ~ISuperuserView() = default;
    virtual void ShowSuperuserActions(const SSuperuserActions& usable) = 0;
};

class CSuperuser {
public:
    // `refresh` shows the connected window again after the lock changed.
    CSuperuser(SMainState& state, IPrompt& prompt, std::function<void()> refresh);

    void Attach(ISuperuserView* view);
    void SetStorePath(std::string path) { storePath_ = std::move(path); }
    const std::string& StorePath() const { return storePath_; }
    const SSuperuserActions& Actions() const { return actions_; }

    void PassSuperuserActionExecute();
    void ExitSupermodeActionExecute();
    void ChangePassSuperuserActionExecute();

private:
    void ReportBrokenStore();
    void Show();

    SMainState& state_;
    IPrompt& prompt_;
    std::function<void()> refresh_;
    ISuperuserView* view_ = nullptr;
    std::string storePath_;
    SSuperuserActions actions_;
};

}  // namespace z5r

// The profile panel of the main window: the profile list in memory, its rows,
// the applied mark, the tooltip cache and every rule of the profile commands,
// the loading of the default and the user's list and the save at
// disconnection. The rows and the window's edits are reached through
// IProfileRows, the current settings and the instrument through the host, the
// person through IPrompt.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/profile.h"
#include "model/main_view.h"
#include "model/profile_capture.h"
#include "ui/prompt.h"

namespace z5r {

// The texts of one row of ProfLV.
struct SProfileRow {
    std::string number;   // "№№": position + 1
    std::string comment;  // "Комментарий"
    bool applied = false;  // the applied mark

    friend bool operator==(const SProfileRow&, const SProfileRow&) = default;
};

// Which commands of the panel can be used, and the list view itself.
struct SProfilePanelActions {
    bool list = false;
    bool newList = false;
    bool open = false;
    bool save = false;
    bool add = false;
    bool update = false;
    bool edit = false;
    bool remove = false;
    bool apply = false;
    bool defaults = false;

    friend bool operator==(const SProfilePanelActions&, const SProfilePanelActions&) = default;
};

// The commands after the controls' state was set for `connected`.
SProfilePanelActions ProfileActionsAfterReset(bool connected, bool settingsLocked, int rows);
// `actions` after the selection became `rowSelected`.
SProfilePanelActions ProfileActionsForSelection(SProfilePanelActions actions, bool rowSelected,
                                                bool settingsLocked);

// The list view and what the window's edits show.
class IProfileRows {
public:
    virtual ~IProfileRows() = default;
    virtual void ClearRows() = 0;
    // Writes row `index`; `index` equal to the row count appends a row.
    virtual void ShowRow(int index, const SProfileRow& row) = 0;
    virtual void RemoveLastRow() = 0;
    virtual void ShowProfileActions(const SProfilePanelActions& usable) = 0;
    // The step settings and the texts of the edits, as shown now.
    virtual SCaptureSource CaptureSource() const = 0;
};

// What the panel needs of the main window around it.
class IProfilePanelHost {
public:
    virtual ~IProfilePanelHost() = default;
    virtual bool SettingsLocked() const = 0;
    // A list is written with "securemode" while locked or logged in.
    virtual bool SecureMark() const = 0;
    virtual bool Connected() const = 0;
    // The connected instrument works in secure mode.
    virtual bool SecureInstrument() const = 0;
    virtual SProfile& Current() = 0;
    virtual const std::vector<SPulse>& WorkingPacket() const = 0;
    virtual const std::vector<SListPoint>& WorkingList() const = 0;
    virtual int AttStrategyShown() const = 0;
    // The current settings into the window and the instrument, the profile's
    // packet and sweep list becoming the working ones.
    virtual void ApplyCurrentSettings() = 0;
};

// Where the lists live: the program's folder and the per-user "defprofiles".
struct SProfileFolders {
    std::string application;
    std::string vendor;
    std::string config;
    std::string defProfiles;
};
SProfileFolders ProfileFoldersOfUser();

class CProfilePanel {
public:
    CProfilePanel(IProfilePanelHost& host, IPrompt& prompt);

    // Until the window attaches its rows, nothing is shown and captures take
    // the record's step settings.
    void Attach(IProfileRows* rows) { rows_ = rows; }
    void SetFolders(SProfileFolders folders) { folders_ = std::move(folders); }

    const std::vector<SProfile>& Profiles() const { return profiles_; }
    bool Modified() const { return modified_; }
    std::optional<int> Applied() const { return applied_; }
    std::optional<int> Selected() const { return selected_; }
    const SProfilePanelActions& Actions() const { return actions_; }
    std::string DefaultFile() const;
    // The user's file for the instrument connected now.
    std::string UserFile() const;

    // ---- entry points for the window -------------------------------------
    void LoadDefaultList();
    void LoadUserList();
    // False when the list could not be written (the message was shown).
    bool SaveUserList();
    void ForgetApplied();
    void ResetActions(bool connected);
    // The rows again, after a login or logout.
    void ShowAllRows();

    // ---- the list view ---------------------------------------------------------
    void SelectionChanged(std::optional<int> row);
    void ProfLVDblClick();
    void ProfLVEnter();
    // The tooltip of `row`; none while locked (the view's own tip stays).
    std::optional<std::string> Tooltip(int row);

    // ---- the commands ------------------------------------------------------------
    void NewProfileListActionExecute();
    void OpenProfileListActionExecute();
    void SaveProfileListActionExecute();
    void AddProfileActionExecute();
    void UpdateProfileActionExecute();
    void EditProfileActionExecute();
    void DelProfileActionExecute();
    void ApplyProfileActionExecute();
    void DefaultProfileActionExecute();

private:
    enum class ESource { DefaultOnly, User };
    enum class EConfirm { No, Ask };
    void Load(ESource source, EConfirm confirm);
    bool EnsureUserFolders() const;
    bool DefaultFileMissing();
    // Capture into `profile`; false when the comment dialog was cancelled.
    bool Capture(SProfile& profile, ECaptureSummary summary);
    bool ConfirmDiscard();
    void Touched();
    void ShowActions();
    // A whole new list: unmodified, nothing applied, its rows shown.
    void TakeList(std::vector<SProfile> profiles);
    void FillRows();
    SProfileRow RowOf(int index) const;
    void ShowError(const char* text);

    IProfilePanelHost& host_;
    IPrompt& prompt_;
    IProfileRows* rows_ = nullptr;
    SProfileFolders folders_;
    std::vector<SProfile> profiles_;
    bool modified_ = false;
    std::optional<int> applied_;
    std::optional<int> selected_;
    std::optional<int> tooltipRow_;
    std::string tooltipText_;
    SProfilePanelActions actions_;
};

// The dialogs of profile-list files.
SFileDialog ProfileListOpenDialog();
SFileDialog ProfileListSaveDialog();

}  // namespace z5r

#include "model/profile_panel.h"

#include <sys/stat.h>

#include <utility>

#include "core/paths.h"
#include "model/profile_list_file.h"
#include "model/profile_tooltip.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr const char* kDefaultFileName = "default.z5p";
constexpr const char* kUserFileName = "profile.z5p";
constexpr const char* kSecureUserFileName = "profile_s.z5p";

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool BlankText(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

SFileDialog ProfileListDialog(const char* title) {
    return SFileDialog{Tr(title), Tr(Z5R_TEXT("Файл профиля Z5R")) + " (*.z5p)", "z5p"};
}

}  // namespace

SProfilePanelActions ProfileActionsAfterReset(bool connected, bool settingsLocked, int rows) {
    const bool editing = connected && !settingsLocked;
    SProfilePanelActions actions;
    actions.list = connected;
    actions.newList = editing;
    actions.open = editing;
    actions.add = editing;
    actions.save = editing && rows > 0;
    actions.defaults = !settingsLocked;
    return actions;
}

SProfilePanelActions ProfileActionsForSelection(SProfilePanelActions actions, bool rowSelected, bool settingsLocked) {
    const bool editing = rowSelected && !settingsLocked;
    actions.update = editing;
    actions.edit = editing;
    actions.remove = editing;
    actions.apply = rowSelected;
    return actions;
}

SProfileFolders ProfileFoldersOfUser() {
    return SProfileFolders{GetVxDir(dirApplication), GetVxDir(dirVendor), GetVxDir(dirConfig),
                           GetVxDir(dirDefProfiles)};
}

SFileDialog ProfileListOpenDialog() { return ProfileListDialog(Z5R_TEXT("Открыть список профилей")); }
SFileDialog ProfileListSaveDialog() { return ProfileListDialog(Z5R_TEXT("Сохранить текущий список профилей")); }

CProfilePanel::CProfilePanel(IProfilePanelHost& host, IPrompt& prompt)
    : host_(host), prompt_(prompt), folders_(ProfileFoldersOfUser()) {}

std::string CProfilePanel::DefaultFile() const { return folders_.application + "/" + kDefaultFileName; }

std::string CProfilePanel::UserFile() const {
    return folders_.defProfiles + "/" + (host_.SecureInstrument() ? kSecureUserFileName : kUserFileName);
}

bool CProfilePanel::EnsureUserFolders() const {
    return EnsureDir(folders_.vendor) == 0 && EnsureDir(folders_.config) == 0 && EnsureDir(folders_.defProfiles) == 0;
}

void CProfilePanel::ShowError(const char* text) {
    prompt_.ShowMessage(SPromptMessage{Tr(Z5R_TEXT("Ошибка")), Tr(text), EPromptIcon::Error, EPromptButtons::Ok, pfNone});
}

bool CProfilePanel::DefaultFileMissing() {
    if (IsFile(DefaultFile())) return false;
    ShowError(Z5R_TEXT("Не удалось найти файл профилей."));
    return true;
}

// ---------------------------------------------------------------- loading

void CProfilePanel::LoadDefaultList() { Load(ESource::DefaultOnly, EConfirm::No); }

void CProfilePanel::LoadUserList() { Load(ESource::User, EConfirm::No); }

void CProfilePanel::Load(ESource source, EConfirm confirm) {
    std::string file = DefaultFile();
    bool defaultFile = true;
    if (source == ESource::User) {
        if (!EnsureUserFolders()) return;
        // A user's file that cannot be seeded leaves the default file to read;
        // one seeded just now holds the default list and is read as such, so a
        // secure instrument's first connection does not refuse it.
        const bool seeded = !IsFile(UserFile());
        if (CopyIfMissing(UserFile(), DefaultFile()) == 0) {
            file = UserFile();
            defaultFile = seeded;
        }
    }
    if (file == DefaultFile()) {
        if (confirm == EConfirm::Ask) {
            const SPromptMessage question{Tr(Z5R_TEXT("Внимание")),
                                          Tr(Z5R_TEXT("Будут установлены настройки по умолчанию!\nПродолжить?")),
                                          EPromptIcon::Warning, EPromptButtons::OkCancel, pfNone};
            if (prompt_.ShowMessage(question) != EPromptResult::Ok) return;
        }
        if (DefaultFileMissing()) return;
    }

    std::vector<SProfile> read;
    EProfileListRead result =
        ReadProfileListFile(file, SecureListTestFor(host_.SecureInstrument(), host_.Connected(), defaultFile), read);
    if (const auto message = ProfileListReadMessage(result)) prompt_.ShowMessage(*message);
    if (result == EProfileListRead::NotSecureList) {
        if (DefaultFileMissing()) return;
        result = ReadProfileListFile(DefaultFile(), ESecureListTest::Skip, read);
        if (const auto message = ProfileListReadMessage(result)) prompt_.ShowMessage(*message);
    }
    if (result != EProfileListRead::Read) return;

    // The last profile is the settings the list was written with.
    if (!read.empty()) {
        host_.Current() = std::move(read.back());
        read.pop_back();
    }
    TakeList(std::move(read));
}

bool CProfilePanel::SaveUserList() {
    // Without the per-user folders there is nowhere to keep the list.
    if (!EnsureUserFolders()) return true;
    SProfile settings = host_.Current();
    Capture(settings, ECaptureSummary::Suppress);
    settings.comment.clear();
    std::vector<SProfile> list = profiles_;
    list.push_back(std::move(settings));
    const EProfileListMark mark = host_.SecureMark() ? EProfileListMark::Secure : EProfileListMark::Plain;
    const EProfileListWrite result = WriteProfileListFile(UserFile(), list, mark);
    if (const auto message = ProfileListWriteMessage(result)) {
        prompt_.ShowMessage(*message);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- capture

bool CProfilePanel::Capture(SProfile& profile, ECaptureSummary summary) {
    SCaptureSource source;
    if (rows_ != nullptr) {
        source = rows_->CaptureSource();
    } else {
        source.steps = EditStepsOf(profile);
    }
    const bool offer = summary == ECaptureSummary::Offer && BlankText(profile.comment) && !host_.SettingsLocked();
    TakeFrequencyAndPowerSteps(profile, source.steps, host_.AttStrategyShown());
    if (offer) {
        const std::optional<std::string> comment =
            prompt_.AskProfileComment(CaptureSummary(profile.controlparams.mode, source.texts));
        if (!comment) return false;
        profile.comment = *comment;
    }
    TakeOtherSteps(profile, source.steps);
    profile.packet = host_.WorkingPacket();
    profile.listelements = host_.WorkingList();
    return true;
}

// ---------------------------------------------------------------- rows and actions

SProfileRow CProfilePanel::RowOf(int index) const {
    return SProfileRow{std::to_string(index + 1), profiles_[static_cast<std::size_t>(index)].comment,
                       applied_ == index};
}

void CProfilePanel::FillRows() {
    selected_.reset();
    if (rows_ == nullptr) return;
    rows_->ClearRows();
    for (int i = 0; i < static_cast<int>(profiles_.size()); ++i) rows_->ShowRow(i, RowOf(i));
    actions_ = ProfileActionsForSelection(actions_, false, host_.SettingsLocked());
    ShowActions();
}

void CProfilePanel::ShowAllRows() { FillRows(); }

void CProfilePanel::ShowActions() {
    if (rows_ != nullptr) rows_->ShowProfileActions(actions_);
}

void CProfilePanel::ResetActions(bool connected) {
    actions_ = ProfileActionsAfterReset(connected, host_.SettingsLocked(), static_cast<int>(profiles_.size()));
    ShowActions();
}

void CProfilePanel::SelectionChanged(std::optional<int> row) {
    if (row && (*row < 0 || *row >= static_cast<int>(profiles_.size()))) row.reset();
    selected_ = row;
    actions_ = ProfileActionsForSelection(actions_, row.has_value(), host_.SettingsLocked());
    ShowActions();
}

void CProfilePanel::TakeList(std::vector<SProfile> profiles) {
    profiles_ = std::move(profiles);
    modified_ = false;
    tooltipRow_.reset();
    applied_.reset();
    FillRows();
}

void CProfilePanel::ForgetApplied() {
    if (!applied_) return;
    const int was = *applied_;
    applied_.reset();
    if (rows_ != nullptr && was < static_cast<int>(profiles_.size())) rows_->ShowRow(was, RowOf(was));
}

void CProfilePanel::Touched() {
    modified_ = true;
    tooltipRow_.reset();
}

std::optional<std::string> CProfilePanel::Tooltip(int row) {
    if (host_.SettingsLocked() || row < 0 || row >= static_cast<int>(profiles_.size())) return std::nullopt;
    if (tooltipRow_ != row) {
        tooltipText_ = ProfileTooltip(profiles_[static_cast<std::size_t>(row)]);
        tooltipRow_ = row;
    }
    return tooltipText_;
}

void CProfilePanel::ProfLVDblClick() {
    if (selected_) {
        ApplyProfileActionExecute();
    } else if (!host_.SettingsLocked() && actions_.add) {
        AddProfileActionExecute();
    }
}

void CProfilePanel::ProfLVEnter() {
    if (selected_) ApplyProfileActionExecute();
}

// ---------------------------------------------------------------- the commands

bool CProfilePanel::ConfirmDiscard() {
    if (!modified_) return true;
    const SPromptMessage question{Tr(Z5R_TEXT("Внимание")), Tr(Z5R_TEXT("Все несохраненные данные будут стерты!\nПродолжить?")),
                                  EPromptIcon::Warning, EPromptButtons::OkCancel, pfNone};
    return prompt_.ShowMessage(question) == EPromptResult::Ok;
}

void CProfilePanel::NewProfileListActionExecute() {
    if (!ConfirmDiscard()) return;
    actions_.newList = false;
    actions_.save = false;
    TakeList({});
}

void CProfilePanel::OpenProfileListActionExecute() {
    if (!ConfirmDiscard()) return;
    const std::optional<std::string> path = prompt_.AskOpenFileName(ProfileListOpenDialog());
    if (!path) return;
    std::vector<SProfile> read;
    const EProfileListRead result =
        ReadProfileListFile(*path, SecureListTestFor(host_.SecureInstrument(), host_.Connected(), false), read);
    if (const auto message = ProfileListReadMessage(result)) prompt_.ShowMessage(*message);
    // A list the secure-mode test refuses leaves the list as it was.
    if (result != EProfileListRead::Read) return;
    actions_.save = false;
    actions_.newList = true;
    TakeList(std::move(read));
}

void CProfilePanel::SaveProfileListActionExecute() {
    const std::optional<std::string> path = prompt_.AskSaveFileName(ProfileListSaveDialog());
    if (!path) return;
    const EProfileListMark mark = host_.SecureMark() ? EProfileListMark::Secure : EProfileListMark::Plain;
    const EProfileListWrite result = WriteProfileListFile(*path, profiles_, mark);
    // A list that could not be written stays modified and can be saved again.
    if (const auto message = ProfileListWriteMessage(result)) {
        prompt_.ShowMessage(*message);
        return;
    }
    modified_ = false;
    actions_.save = false;
    ShowActions();
}

void CProfilePanel::AddProfileActionExecute() {
    SProfile copy = host_.Current();
    copy.comment.clear();
    if (!Capture(copy, ECaptureSummary::Offer)) return;
    profiles_.push_back(std::move(copy));
    const int row = static_cast<int>(profiles_.size()) - 1;
    if (rows_ != nullptr) rows_->ShowRow(row, RowOf(row));
    Touched();
    actions_.newList = true;
    actions_.save = true;
    ShowActions();
}

void CProfilePanel::UpdateProfileActionExecute() {
    if (!selected_ || host_.SettingsLocked()) return;
    const int row = *selected_;
    SProfile updated = host_.Current();
    updated.comment = profiles_[static_cast<std::size_t>(row)].comment;
    // A comment dialog cancelled leaves the stored profile as it was: the
    // operator declined the update.
    if (!Capture(updated, ECaptureSummary::Offer)) return;
    profiles_[static_cast<std::size_t>(row)] = std::move(updated);
    ForgetApplied();
    applied_ = row;
    if (rows_ != nullptr) rows_->ShowRow(row, RowOf(row));
    Touched();
    actions_.save = true;
    ShowActions();
}

void CProfilePanel::EditProfileActionExecute() {
    if (!selected_ || host_.SettingsLocked()) return;
    const int row = *selected_;
    SProfile& profile = profiles_[static_cast<std::size_t>(row)];
    if (const std::optional<std::string> comment = prompt_.AskProfileComment(profile.comment)) {
        profile.comment = *comment;
        if (rows_ != nullptr) rows_->ShowRow(row, RowOf(row));
    }
    Touched();
    actions_.save = true;
    ShowActions();
}

void CProfilePanel::DelProfileActionExecute() {
    if (!selected_ || host_.SettingsLocked()) return;
    const int row = *selected_;
    profiles_.erase(profiles_.begin() + row);
    // The mark of a profile at or after the deleted one goes with the
    // renumbered rows.
    if (applied_ && *applied_ >= row) applied_.reset();
    if (rows_ != nullptr) {
        for (int i = row; i < static_cast<int>(profiles_.size()); ++i) rows_->ShowRow(i, RowOf(i));
        rows_->RemoveLastRow();
    }
    Touched();
    actions_.newList = !profiles_.empty();
    actions_.save = !profiles_.empty();
    selected_.reset();
    actions_ = ProfileActionsForSelection(actions_, false, host_.SettingsLocked());
    ShowActions();
}

void CProfilePanel::ApplyProfileActionExecute() {
    if (!selected_) return;
    const int row = *selected_;
    host_.Current() = profiles_[static_cast<std::size_t>(row)];
    host_.ApplyCurrentSettings();
    // The handlers the application ran forgot any earlier mark.
    ForgetApplied();
    applied_ = row;
    if (rows_ != nullptr) rows_->ShowRow(row, RowOf(row));
}

void CProfilePanel::DefaultProfileActionExecute() {
    Load(ESource::DefaultOnly, EConfirm::Ask);
    host_.ApplyCurrentSettings();
}

}  // namespace z5r

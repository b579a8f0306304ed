// Everything the client asks a person goes through this interface, so the
// windows can be driven by tests with a scripted prompt. Texts arrive already
// translated.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace z5r {

enum class EPromptIcon { None, Error, Warning, Question, Information };

enum class EPromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

// The button pressed (Cancel also when the box is closed without a choice).
enum class EPromptResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// Flags of a message box; combine with |.
enum EPromptFlags : unsigned {
    pfNone = 0,
    pfSystemModal = 1u << 0,  // blocks every window of the program
    pfTopmost = 1u << 1,      // stays above other programs' windows
    pfNoOwner = 1u << 2,      // not owned by the main window
};

struct SPromptMessage {
    std::string caption;
    std::string text;
    EPromptIcon icon = EPromptIcon::None;
    EPromptButtons buttons = EPromptButtons::Ok;
    unsigned flags = pfNone;
};

// A file dialog: its title, one filter ("PPL (*.ppl)"), and the extension a
// name typed without one gets ("ppl", without the dot; "" for none).
struct SFileDialog {
    std::string title;
    std::string filter;
    std::string defaultExtension;
};

// A file dialog offering several file types (`dialog.filter` holds them
// separated by ";;"), and the extension each gives a name typed without one.
struct STypedFileDialog {
    SFileDialog dialog;
    std::vector<std::string> typeExtensions;
};

// A file named in a dialog and the file type (its index in the dialog's
// filter) the operator chose it under.
struct SChosenFile {
    std::string path;
    int type = 0;
};

// What the password change dialog held when the operator pressed OK.
struct SPasswordChange {
    std::string oldPassword;
    std::string newPassword;
    std::string confirmation;
};

class IPrompt {
public:
    virtual ~IPrompt() = default;
    // Shows a modal message box and returns the button pressed.
    virtual EPromptResult ShowMessage(const SPromptMessage& message) = 0;
    // Asks for an existing file to read; empty when the dialog is cancelled.
    virtual std::optional<std::string> AskOpenFileName(const SFileDialog& dialog) = 0;
    // Asks for a file to write, asking before an existing file is replaced;
    // empty when the dialog is cancelled.
    virtual std::optional<std::string> AskSaveFileName(const SFileDialog& dialog) = 0;
    // The same, with the file type chosen in the dialog.
    virtual std::optional<SChosenFile> AskOpenFile(const STypedFileDialog& dialog) = 0;
    virtual std::optional<SChosenFile> AskSaveFile(const STypedFileDialog& dialog) = 0;
    // The comment dialog filled with `text`: the edited text, empty when cancelled.
    virtual std::optional<std::string> AskProfileComment(const std::string& text) = 0;
    // The password dialog with its edit emptied: the text entered, empty when cancelled.
    virtual std::optional<std::string> AskPassword() = 0;
    // The change dialog with the old password emptied; empty when cancelled.
    virtual std::optional<SPasswordChange> AskPasswordChange() = 0;
};

}  // namespace z5r

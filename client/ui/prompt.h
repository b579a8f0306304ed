// Everything the client asks a person goes through this interface, so the
// windows can be driven by tests with a scripted prompt. Texts arrive already
// translated.
#pragma once

#include <optional>
#include <string>

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
};

}  // namespace z5r

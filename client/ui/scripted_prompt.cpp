#include "ui/scripted_prompt.h"

#include <utility>

namespace z5r {

CScriptedPrompt::CScriptedPrompt(EPromptResult defaultAnswer) : defaultAnswer_(defaultAnswer) {}

void CScriptedPrompt::QueueAnswer(EPromptResult answer) { answers_.push_back(answer); }

void CScriptedPrompt::SetDefaultAnswer(EPromptResult answer) { defaultAnswer_ = answer; }

EPromptResult CScriptedPrompt::ShowMessage(const SPromptMessage& message) {
    shown_.push_back(message);
    if (answers_.empty()) return defaultAnswer_;
    EPromptResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void CScriptedPrompt::QueueFileName(std::optional<std::string> fileName) { QueueFile(std::move(fileName), 0); }

void CScriptedPrompt::QueueFile(std::optional<std::string> fileName, int type) {
    fileNames_.push_back(std::move(fileName));
    fileTypes_.push_back(type);
}

std::optional<std::string> CScriptedPrompt::NextFileName() {
    if (fileNames_.empty()) return std::nullopt;
    std::optional<std::string> fileName = std::move(fileNames_.front());
    fileNames_.pop_front();
    fileTypes_.pop_front();
    return fileName;
}

std::optional<SChosenFile> CScriptedPrompt::NextFile() {
    const int type = fileTypes_.empty() ? 0 : fileTypes_.front();
    std::optional<std::string> fileName = NextFileName();
    if (!fileName || fileName->empty()) return std::nullopt;
    return SChosenFile{std::move(*fileName), type};
}

std::optional<SChosenFile> CScriptedPrompt::AskOpenFile(const STypedFileDialog& dialog) {
    dialogs_.push_back({dialog.dialog, false});
    return NextFile();
}

std::optional<SChosenFile> CScriptedPrompt::AskSaveFile(const STypedFileDialog& dialog) {
    dialogs_.push_back({dialog.dialog, true});
    return NextFile();
}

std::optional<std::string> CScriptedPrompt::AskOpenFileName(const SFileDialog& dialog) {
    dialogs_.push_back({dialog, false});
    return NextFileName();
}

std::optional<std::string> CScriptedPrompt::AskSaveFileName(const SFileDialog& dialog) {
    dialogs_.push_back({dialog, true});
    return NextFileName();
}

namespace {

template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<T> answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

std::optional<std::string> CScriptedPrompt::AskProfileComment(const std::string& text) {
    proposed_.push_back(text);
    return Next(comments_);
}

std::optional<std::string> CScriptedPrompt::AskPassword() {
    ++passwordDialogs_;
    return Next(passwords_);
}

std::optional<SPasswordChange> CScriptedPrompt::AskPasswordChange() {
    ++passwordDialogs_;
    return Next(changes_);
}

}  // namespace z5r

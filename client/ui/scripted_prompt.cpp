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

void CScriptedPrompt::QueueFileName(std::optional<std::string> fileName) {
    fileNames_.push_back(std::move(fileName));
}

std::optional<std::string> CScriptedPrompt::NextFileName() {
    if (fileNames_.empty()) return std::nullopt;
    std::optional<std::string> fileName = std::move(fileNames_.front());
    fileNames_.pop_front();
    return fileName;
}

std::optional<std::string> CScriptedPrompt::AskOpenFileName(const SFileDialog& dialog) {
    dialogs_.push_back({dialog, false});
    return NextFileName();
}

std::optional<std::string> CScriptedPrompt::AskSaveFileName(const SFileDialog& dialog) {
    dialogs_.push_back({dialog, true});
    return NextFileName();
}

}  // namespace z5r

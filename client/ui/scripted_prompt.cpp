#include "ui/scripted_prompt.h"

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

}  // namespace z5r

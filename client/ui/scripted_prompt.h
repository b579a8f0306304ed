// A prompt for tests: answers from a queue and records every message shown.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "ui/prompt.h"

namespace z5r {

class CScriptedPrompt : public IPrompt {
public:
    explicit CScriptedPrompt(EPromptResult defaultAnswer = EPromptResult::Ok);

    // Answers are used in the order queued; when none is left the default
    // answer is given.
    void QueueAnswer(EPromptResult answer);
    void SetDefaultAnswer(EPromptResult answer);
    std::size_t PendingAnswers() const { return answers_.size(); }

    EPromptResult ShowMessage(const SPromptMessage& message) override;

    // Every message shown, oldest first.
    const std::vector<SPromptMessage>& Shown() const { return shown_; }
    void ClearShown() { shown_.clear(); }

private:
    std::deque<EPromptResult> answers_;
    EPromptResult defaultAnswer_;
    std::vector<SPromptMessage> shown_;
};

}  // namespace z5r

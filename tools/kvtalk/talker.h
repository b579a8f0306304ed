// Sends kvtalk's input lines over a text session, one packet each, and
// prints each answer line; reports failures with the line they belong to.
#pragma once

#include <cstddef>
#include <string>

#include "kvvisa/visatype.h"
#include "text_line_reader.h"

namespace kvtalk {

enum class ELineResult {
    Done,        // sent, and answered when an answer was awaited
    LineFailed,  // malformed, unknown to the protocol, or not answered
    LinkFailed,  // the link failed: nothing more can be sent
};

class Talker {
public:
    Talker(ViSession session, unsigned timeoutMs, bool awaitAnswers);

    ELineResult Talk(std::size_t lineNumber, const std::string& line);

private:
    ELineResult AwaitAnswer(std::size_t lineNumber);

    ViSession session_;
    unsigned timeoutMs_;
    bool awaitAnswers_;
    kvtools::TextLineReader answers_;
};

}  // namespace kvtalk

#include "talker.h"

#include <cstdio>
#include <variant>

#include "kvvisa/visa.h"
#include "quoted_text.h"
#include "status_name.h"
#include "tcs_grammar.h"

namespace kvtalk {

namespace {

using kv::Quoted;

void ReportLine(std::size_t lineNumber, const std::string& line, const std::string& why) {
    std::fprintf(stderr, "kvtalk: line %zu: %s: %s\n", lineNumber, Quoted(line).c_str(),
                 why.c_str());
}

void ReportLink(std::size_t lineNumber, const char* what, ViStatus status) {
    std::fprintf(stderr, "kvtalk: line %zu: %s failed: %s\n", lineNumber, what,
                 kvtools::DescribeStatus(status).c_str());
}

// Header keys the layer ignores are most likely typing errors: the line is
// sent, but the person is told.
void WarnIgnoredKeys(std::size_t lineNumber, const kv::SLine& line) {
    for (const std::string& key : line.ignoredKeys) {
        std::fprintf(stderr,
                     "kvtalk: line %zu: warning: %s ignored: not a header field with a value "
                     "(known: %.*s)\n",
                     lineNumber, Quoted(key).c_str(), static_cast<int>(kv::KnownHeaderKeys().size()),
                     kv::KnownHeaderKeys().data());
    }
}

// The grammar was right, so the layer's "invalid format" is about what it
// looked up.
std::string Rejection(const kv::SLine& line) {
    if (line.kind == kv::ELineKind::Command) {
        return Quoted(line.name) + " is not a known command";
    }
    std::string why = Quoted(line.name) + " is not a known parameter";
    if (line.fields[kv::kFieldBodyLen] && !line.values.empty()) {
        why += ", or bodylen does not give 1 to 15 bytes per value";
    }
    return why;
}

}  // namespace

Talker::Talker(ViSession session, unsigned timeoutMs, bool awaitAnswers)
    : session_(session),
      timeoutMs_(timeoutMs),
      awaitAnswers_(awaitAnswers),
      answers_([session](ViPBuf buffer, ViUInt32 count, ViPUInt32 got) {
          return viRead(session, buffer, count, got);
      }) {}

ELineResult Talker::Talk(std::size_t lineNumber, const std::string& line) {
    const kv::LineParse parsed = kv::ParseLine(line);
    if (const auto* problem = std::get_if<kv::SLineProblem>(&parsed)) {
        ReportLine(lineNumber, line, problem->message);
        return ELineResult::LineFailed;
    }
    const auto& parsedLine = std::get<kv::SLine>(parsed);
    WarnIgnoredKeys(lineNumber, parsedLine);

    // The text layer ends a line at a carriage return and line feed.
    const std::string packetLine = line + "\r\n";
    ViUInt32 taken = 0;
    const ViStatus written = viWrite(session_, reinterpret_cast<ViConstBuf>(packetLine.data()),
                                     static_cast<ViUInt32>(packetLine.size()), &taken);
    if (written == VI_ERROR_INV_FMT) {
        ReportLine(lineNumber, line, Rejection(parsedLine));
        return ELineResult::LineFailed;
    }
    if (written < VI_SUCCESS) {
        ReportLink(lineNumber, "write", written);
        return ELineResult::LinkFailed;
    }
    if (taken != packetLine.size()) {
        std::fprintf(stderr, "kvtalk: line %zu: write failed: %u of %zu bytes taken\n",
                     lineNumber, static_cast<unsigned>(taken), packetLine.size());
        return ELineResult::LinkFailed;
    }
    return awaitAnswers_ ? AwaitAnswer(lineNumber) : ELineResult::Done;
}

ELineResult Talker::AwaitAnswer(std::size_t lineNumber) {
    for (;;) {
        auto answer = answers_.Next();
        switch (answer.outcome) {
            case kvtools::TextLineReader::EOutcome::Line:
                std::printf("%s\n", answer.line.c_str());
                return ELineResult::Done;
            case kvtools::TextLineReader::EOutcome::Failed:
                ReportLink(lineNumber, "read", answer.status);
                return ELineResult::LinkFailed;
            case kvtools::TextLineReader::EOutcome::Nothing:
                // Part of a long line: the rest follows at once.
                if (answer.status >= VI_SUCCESS && answer.bytes > 0) continue;
                std::fprintf(stderr, "kvtalk: line %zu: %s within %u ms: %s\n", lineNumber,
                             answers_.HasPartialLine() ? "incomplete answer" : "no answer",
                             timeoutMs_, kvtools::DescribeStatus(answer.status).c_str());
                return ELineResult::LineFailed;
        }
    }
}

}  // namespace kvtalk

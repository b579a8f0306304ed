// Arbitrary text on the simulated instrument's control channel: each line
// gets one answer ending in a line "OK" or "ERR <reason>", and nothing
// breaks the instrument model behind it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "control_channel.h"
#include "instrument_state.h"
#include "line_splitter.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    z5rsim::CInstrumentState state{z5rsim::SIdentity{}};
    z5rsim::SServerStatus status;
    z5rsim::CLineSplitter lines(64);
    lines.Append(std::span(reinterpret_cast<const char*>(data), size));
    while (const auto line = lines.Next()) {
        if (line->overlong) continue;
        const z5rsim::SControlReply reply = z5rsim::HandleControlLine(line->text, state, status);
        Require(!reply.text.empty() && reply.text.back() == '\n', "an answer ends with a line end");
        const std::size_t last = reply.text.rfind('\n', reply.text.size() - 2);
        const std::string closing = reply.text.substr(last == std::string::npos ? 0 : last + 1);
        Require(closing == "OK\n" || (closing.starts_with("ERR ") && closing.find('\n') == closing.size() - 1),
                "the last line is OK or ERR <reason>");
        Require(closing == "OK\n" || reply.action == z5rsim::EControlAction::None, "a refused line does nothing");
    }
    return 0;
}

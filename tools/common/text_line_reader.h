// Reads the text layer's lines: each line ends with a zero byte, and a long
// line may come in several reads, so pieces are gathered until the zero.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "kvvisa/visatype.h"

namespace kvtools {

class TextLineReader {
public:
    // One read of the session, shaped like viRead without the handle.
    using ReadFunction = std::function<ViStatus(ViPBuf buffer, ViUInt32 count, ViPUInt32 got)>;

    enum class EOutcome {
        Line,     // `line` holds a complete line
        Nothing,  // no complete line yet: nothing arrived, or part of one
        Failed,   // the read failed; a partial line is dropped
    };

    struct Result {
        EOutcome outcome = EOutcome::Nothing;
        ViStatus status = 0;    // of the read that ended the call
        std::size_t bytes = 0;  // delivered by that read
        std::string line;
    };

    explicit TextLineReader(ReadFunction read, std::size_t chunkSize = 65536);

    // At most one read: a line already gathered is returned without one.
    // Time-outs and "busy" are Nothing, other errors Failed.
    Result Next();
    // Part of a line has arrived and its end has not.
    bool HasPartialLine() const { return !pending_.empty(); }

private:
    bool TakeLine(std::string& line);

    ReadFunction read_;
    std::vector<ViByte> chunk_;
    std::string pending_;
};

}  // namespace kvtools

#include "text_line_reader.h"

#include <utility>

#include "kvvisa/visa.h"

namespace kvtools {

TextLineReader::TextLineReader(ReadFunction read, std::size_t chunkSize)
    : read_(std::move(read)), chunk_(chunkSize == 0 ? 1 : chunkSize) {}

bool TextLineReader::TakeLine(std::string& line) {
    const auto end = pending_.find('\0');
    if (end == std::string::npos) return false;
    line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return true;
}

TextLineReader::Result TextLineReader::Next() {
    Result result;
    if (TakeLine(result.line)) {
        result.outcome = EOutcome::Line;
        return result;
    }
    ViUInt32 got = 0;
    result.status = read_(chunk_.data(), static_cast<ViUInt32>(chunk_.size()), &got);
    result.bytes = got <= chunk_.size() ? got : chunk_.size();
    pending_.append(reinterpret_cast<const char*>(chunk_.data()), result.bytes);
    // A line that arrived whole counts even when the read reports the status
    // of a failed transfer with it.
    if (TakeLine(result.line)) {
        result.outcome = EOutcome::Line;
    } else if (result.status >= VI_SUCCESS || result.status == VI_ERROR_TMO ||
               result.status == VI_ERROR_RSRC_BUSY) {
        result.outcome = EOutcome::Nothing;
    } else {
        pending_.clear();
        result.outcome = EOutcome::Failed;
    }
    return result;
}

}  // namespace kvtools

#include "line_splitter.h"

namespace z5rsim {

void CLineSplitter::Append(std::span<const char> bytes) { buffer_.append(bytes.data(), bytes.size()); }

std::optional<CLineSplitter::SLine> CLineSplitter::Next() {
    for (;;) {
        const std::size_t end = buffer_.find('\n');
        if (skipping_) {
            if (end == std::string::npos) {
                buffer_.clear();
                return std::nullopt;
            }
            buffer_.erase(0, end + 1);
            skipping_ = false;
            continue;
        }
        if (end == std::string::npos) {
            if (buffer_.size() <= maxLength_) return std::nullopt;
            buffer_.clear();
            skipping_ = true;
            return SLine{{}, true};
        }
        SLine line{buffer_.substr(0, end), false};
        buffer_.erase(0, end + 1);
        if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
        if (line.text.size() > maxLength_) return SLine{{}, true};
        return line;
    }
}

}  // namespace z5rsim

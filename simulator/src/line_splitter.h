// Cuts a text stream into lines ("\n", an optional "\r" before it removed).
// A line longer than the limit is not kept: it comes out once as an
// overlong marker and the rest of it, up to its newline, is skipped.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace z5rsim {

class CLineSplitter {
public:
    explicit CLineSplitter(std::size_t maxLength) : maxLength_(maxLength) {}

    struct SLine {
        std::string text;
        bool overlong = false;
    };

    void Append(std::span<const char> bytes);
    std::optional<SLine> Next();

private:
    std::size_t maxLength_;
    std::string buffer_;
    bool skipping_ = false;  // inside an overlong line already reported
};

}  // namespace z5rsim

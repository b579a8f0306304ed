// Reads the entries of a gettext PO (or POT) file: enough of the format for
// the files xgettext writes and the ones translators keep.
#pragma once

#include <string>
#include <vector>

namespace z5rtest {

struct PoEntry {
    std::string context;
    std::string id;
    std::string text;                    // msgstr (msgstr[0] for plural entries)
    std::vector<std::string> references;  // "file:line" from the #: comments
    bool fuzzy = false;
    int line = 0;                         // where the entry starts in its file
};

// The entries of `path` without the header entry (empty msgid). Throws
// std::runtime_error naming the file and line on a malformed file.
std::vector<PoEntry> ReadPoFile(const std::string& path);

}  // namespace z5rtest

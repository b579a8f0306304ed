#include "po_reader.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace z5rtest {

namespace {

[[noreturn]] void Fail(const std::string& path, int line, const std::string& what) {
    throw std::runtime_error(path + ":" + std::to_string(line) + ": " + what);
}

// The value of one quoted PO string, escapes resolved.
std::string Unquote(const std::string& path, int line, const std::string& text) {
    const auto open = text.find('"');
    const auto close = text.rfind('"');
    if (open == std::string::npos || close == open) Fail(path, line, "expected a quoted string");
    std::string out;
    for (auto i = open + 1; i < close; ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < close) {
            c = text[++i];
            switch (c) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                default: out += c; break;  // \" \\ and anything else literal
            }
        } else {
            out += c;
        }
    }
    return out;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

std::vector<PoEntry> ReadPoFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);

    std::vector<PoEntry> entries;
    PoEntry current;
    bool hasId = false;
    std::string* target = nullptr;  // the string continuation lines extend
    std::string ignored;             // sink for the parts not kept
    auto finish = [&] {
        if (hasId && !current.id.empty()) entries.push_back(current);
        current = PoEntry{};
        hasId = false;
        target = nullptr;
    };

    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) {
            finish();
            continue;
        }
        if (StartsWith(line, "#~")) continue;  // obsolete entries
        if (StartsWith(line, "#")) {
            if (hasId) finish();
            if (current.line == 0) current.line = number;
            if (StartsWith(line, "#,") && line.find("fuzzy") != std::string::npos) current.fuzzy = true;
            if (StartsWith(line, "#:")) {
                std::istringstream refs(line.substr(2));
                std::string ref;
                while (refs >> ref) current.references.push_back(ref);
            }
            continue;
        }
        if (line.front() == '"') {
            if (target == nullptr) Fail(path, number, "string outside an entry");
            *target += Unquote(path, number, line);
            continue;
        }
        if (current.line == 0) current.line = number;
        if (StartsWith(line, "msgctxt")) {
            if (hasId) finish();
            current.context = Unquote(path, number, line);
            target = &current.context;
        } else if (StartsWith(line, "msgid_plural")) {
            target = &ignored;
        } else if (StartsWith(line, "msgid")) {
            if (hasId) finish();
            if (current.line == 0) current.line = number;
            current.id = Unquote(path, number, line);
            hasId = true;
            target = &current.id;
        } else if (StartsWith(line, "msgstr[0]") || StartsWith(line, "msgstr ")) {
            if (!hasId) Fail(path, number, "msgstr without msgid");
            current.text = Unquote(path, number, line);
            target = &current.text;
        } else if (StartsWith(line, "msgstr[")) {
            target = &ignored;  // further plural forms are not needed
        } else {
            Fail(path, number, "unexpected line");
        }
    }
    finish();
    return entries;
}

}  // namespace z5rtest

#include "arguments.h"

namespace z5r {

std::string BuildArgumentString(const std::vector<std::string>& parameters) {
    std::string text;
    for (const auto& parameter : parameters) text += parameter + " ";
    return text;
}

std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c != ' ') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

}  // namespace z5r

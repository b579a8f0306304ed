// The parameters handed from the launcher to the client. They travel as one
// text, each followed by a blank and without quotes, and arrive as that text
// split at blanks: a parameter with blanks reaches the client as several.
#pragma once

#include <string>
#include <vector>

namespace z5r {

// Every parameter in order, each followed by one blank.
std::string BuildArgumentString(const std::vector<std::string>& parameters);

// The words of `text`, split at blanks; runs of blanks make no empty words.
std::vector<std::string> SplitArguments(const std::string& text);

}  // namespace z5r

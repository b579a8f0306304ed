// Every text a window can show a person, gathered for the language tests:
// titles, texts and captions of all widgets (every string property), tool
// tips and hints, items of combo boxes, lists, trees and tabs, menus and
// actions, and what the widget package's edits, readouts, lamps and panels
// show.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace z5rtest {

struct ShownText {
    std::string where;  // object name and what the text is
    std::string text;
};

std::vector<ShownText> CollectTexts(QWidget* window);

// The texts among them that contain Cyrillic letters.
std::vector<ShownText> CyrillicTexts(QWidget* window);

}  // namespace z5rtest

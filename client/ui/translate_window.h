// Passing a whole window through the message catalogue: windows are built
// with their Russian keys and translated once, when they are created.
#pragma once

class QWidget;

namespace z5r {

// Translates, for `root` and every widget and action below it: window titles,
// texts and captions, tool tips and status hints, placeholder texts, combo-box
// items, tab titles, group-box titles, menu titles, action texts, list and
// tree headers and items, and the captions and labels of the widget package's
// edits, readouts, lamps and roll-up panels. A text that is no catalogue key
// stays as it is, so translating twice changes nothing.
void TranslateWindow(QWidget* root);

}  // namespace z5r

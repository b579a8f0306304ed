// The buttons and edits the program's small modal dialogs share.
#pragma once

#include <QDialog>
#include <functional>

class QBoxLayout;
class QLineEdit;

namespace z5r {

// "OK"-like and "Отмена" buttons at the bottom of `layout`; the first is the
// default button, so Enter in an edit confirms.
void AddDialogButtons(QDialog& dialog, QBoxLayout& layout, const char* okCaption);

// A password edit showing "*"; entering it selects its text.
QLineEdit* MakePasswordEdit(QWidget* parent, const char* name);

// The dialog's result through `runModal`, or exec.
int RunDialog(QDialog& dialog, const std::function<int(QDialog&)>& runModal);

}  // namespace z5r

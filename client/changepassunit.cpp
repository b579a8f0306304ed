#include "changepassunit.h"

#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TChangePassForm::TChangePassForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ChangePassForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Смена пароля")));
    setModal(true);
    setSizeGripEnabled(false);
    TranslateWindow(this);
}

}  // namespace z5r

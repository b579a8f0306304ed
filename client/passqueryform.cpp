#include "passqueryform.h"

#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TPassForm::TPassForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PassForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Запрос пароля")));
    setModal(true);
    setSizeGripEnabled(false);
    TranslateWindow(this);
}

}  // namespace z5r

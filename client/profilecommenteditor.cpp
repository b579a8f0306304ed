#include "profilecommenteditor.h"

#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TProfCommentForm::TProfCommentForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ProfCommentForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Комментарий")));
    setModal(true);
    setSizeGripEnabled(false);
    TranslateWindow(this);
}

}  // namespace z5r

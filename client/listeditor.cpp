#include "listeditor.h"

#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TListEditorForm::TListEditorForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ListEditorForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Редактор списка")));
    setModal(true);
    setSizeGripEnabled(false);
    TranslateWindow(this);
}

}  // namespace z5r

#include "about.h"

#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("О программе")));
    setModal(true);
    setWindowFlag(Qt::Tool, true);
    TranslateWindow(this);
}

}  // namespace z5r

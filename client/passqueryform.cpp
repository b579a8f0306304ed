#include "passqueryform.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "own_dialog_parts.h"
#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TPassForm::TPassForm(QWidget* parent, std::function<int(QDialog&)> runModal)
    : QDialog(parent), runModal_(std::move(runModal)) {
    setObjectName(QStringLiteral("PassForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Запрос пароля")));
    setModal(true);
    setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(Z5R_TEXT("Введите пароль суперпользователя:")), this));
    PassEdit = MakePasswordEdit(this, "PassEdit");
    layout->addWidget(PassEdit);
    AddDialogButtons(*this, *layout, Z5R_TEXT("ОК"));
    TranslateWindow(this);
}

std::optional<std::string> TPassForm::Ask() {
    PassEdit->clear();
    PassEdit->setFocus();
    if (RunDialog(*this, runModal_) != QDialog::Accepted) return std::nullopt;
    return PassEdit->text().toStdString();
}

}  // namespace z5r

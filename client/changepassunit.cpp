#include "changepassunit.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "own_dialog_parts.h"
#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TChangePassForm::TChangePassForm(QWidget* parent, std::function<int(QDialog&)> runModal)
    : QDialog(parent), runModal_(std::move(runModal)) {
    setObjectName(QStringLiteral("ChangePassForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Смена пароля")));
    setModal(true);
    setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    OldPassEdit = MakePasswordEdit(this, "OldPassEdit");
    NewPassEdit = MakePasswordEdit(this, "NewPassEdit");
    ConfirmPassEdit = MakePasswordEdit(this, "ConfirmPassEdit");
    form->addRow(QString::fromUtf8(Z5R_TEXT("Старый пароль:")), OldPassEdit);
    form->addRow(QString::fromUtf8(Z5R_TEXT("Новый пароль:")), NewPassEdit);
    form->addRow(QString::fromUtf8(Z5R_TEXT("Подтверждение:")), ConfirmPassEdit);
    layout->addLayout(form);
    AddDialogButtons(*this, *layout, Z5R_TEXT("ОК"));
    TranslateWindow(this);
}

std::optional<SPasswordChange> TChangePassForm::Ask() {
    OldPassEdit->clear();
    OldPassEdit->setFocus();
    // Centred on the screen, not on the main window.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    if (RunDialog(*this, runModal_) != QDialog::Accepted) return std::nullopt;
    return SPasswordChange{OldPassEdit->text().toStdString(), NewPassEdit->text().toStdString(),
                           ConfirmPassEdit->text().toStdString()};
}

}  // namespace z5r

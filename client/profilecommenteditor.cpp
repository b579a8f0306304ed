#include "profilecommenteditor.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "own_dialog_parts.h"
#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TProfCommentForm::TProfCommentForm(QWidget* parent, std::function<int(QDialog&)> runModal)
    : QDialog(parent), runModal_(std::move(runModal)) {
    setObjectName(QStringLiteral("ProfCommentForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Комментарий")));
    setModal(true);
    setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    CommentEdit = new QLineEdit(this);
    CommentEdit->setObjectName(QStringLiteral("CommentEdit"));
    CommentEdit->setMinimumWidth(360);
    layout->addWidget(CommentEdit);
    AddDialogButtons(*this, *layout, Z5R_TEXT("ОК"));
    TranslateWindow(this);
}

std::optional<std::string> TProfCommentForm::Ask(const std::string& text) {
    CommentEdit->setText(QString::fromStdString(text));
    CommentEdit->selectAll();
    CommentEdit->setFocus();
    if (RunDialog(*this, runModal_) != QDialog::Accepted) return std::nullopt;
    return CommentEdit->text().toStdString();
}

}  // namespace z5r

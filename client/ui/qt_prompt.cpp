#include "ui/qt_prompt.h"

#include <QFileDialog>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <QMessageBox>
#include <QString>

namespace z5r {

namespace {

QMessageBox::Icon ToIcon(EPromptIcon icon) {
    switch (icon) {
        case EPromptIcon::Error: return QMessageBox::Critical;
        case EPromptIcon::Warning: return QMessageBox::Warning;
        case EPromptIcon::Question: return QMessageBox::Question;
        case EPromptIcon::Information: return QMessageBox::Information;
        case EPromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToButtons(EPromptButtons buttons) {
    switch (buttons) {
        case EPromptButtons::Ok: return QMessageBox::Ok;
        case EPromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case EPromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case EPromptButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case EPromptButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
        case EPromptButtons::AbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

EPromptResult ToResult(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok: return EPromptResult::Ok;
        case QMessageBox::Yes: return EPromptResult::Yes;
        case QMessageBox::No: return EPromptResult::No;
        case QMessageBox::Retry: return EPromptResult::Retry;
        case QMessageBox::Abort: return EPromptResult::Abort;
        case QMessageBox::Ignore: return EPromptResult::Ignore;
        default: return EPromptResult::Cancel;  // Cancel, or closed without a choice
    }
}

// The dialog's name and the index of the file type chosen in it.
std::optional<SChosenFile> AskTypedFile(QWidget* owner, const STypedFileDialog& typed,
                                        QFileDialog::AcceptMode mode) {
    const SFileDialog& spec = typed.dialog;
    QFileDialog dialog(owner, QString::fromStdString(spec.title), QString(), QString::fromStdString(spec.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Replacing an existing file is asked about (the dialog's default).
    dialog.setDefaultSuffix(QString::fromStdString(spec.defaultExtension));
    const QStringList filters = dialog.nameFilters();
    // Another file type gives a typed name its own extension.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const auto type = static_cast<std::size_t>(filters.indexOf(filter));
        if (type < typed.typeExtensions.size()) {
            dialog.setDefaultSuffix(QString::fromStdString(typed.typeExtensions[type]));
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return SChosenFile{dialog.selectedFiles().constFirst().toStdString(),
                       static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

std::optional<std::string> AskFileName(QWidget* owner, const SFileDialog& spec, QFileDialog::AcceptMode mode) {
    std::optional<SChosenFile> chosen = AskTypedFile(owner, STypedFileDialog{spec, {}}, mode);
    if (!chosen) return std::nullopt;
    return std::move(chosen->path);
}

}  // namespace

std::optional<std::string> CQtPrompt::AskOpenFileName(const SFileDialog& dialog) {
    return AskFileName(owner_.data(), dialog, QFileDialog::AcceptOpen);
}

std::optional<std::string> CQtPrompt::AskSaveFileName(const SFileDialog& dialog) {
    return AskFileName(owner_.data(), dialog, QFileDialog::AcceptSave);
}

std::optional<SChosenFile> CQtPrompt::AskOpenFile(const STypedFileDialog& dialog) {
    return AskTypedFile(owner_.data(), dialog, QFileDialog::AcceptOpen);
}

std::optional<SChosenFile> CQtPrompt::AskSaveFile(const STypedFileDialog& dialog) {
    return AskTypedFile(owner_.data(), dialog, QFileDialog::AcceptSave);
}

EPromptResult CQtPrompt::ShowMessage(const SPromptMessage& message) {
    QWidget* parent = (message.flags & pfNoOwner) ? nullptr : owner_.data();
    QMessageBox box(ToIcon(message.icon), QString::fromStdString(message.caption),
                    QString::fromStdString(message.text), ToButtons(message.buttons), parent);
    // A box owned by a window is modal to the whole program anyway; a
    // system-modal one must also block windows it does not belong to.
    box.setWindowModality(Qt::ApplicationModal);
    if (message.flags & pfTopmost) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (message.flags & pfSystemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) return EPromptResult::Cancel;
    return ToResult(box.standardButton(clicked));
}

std::optional<std::string> CQtPrompt::AskProfileComment(const std::string& text) {
    return dialogs_.comment ? dialogs_.comment(text) : std::nullopt;
}

std::optional<std::string> CQtPrompt::AskPassword() {
    return dialogs_.password ? dialogs_.password() : std::nullopt;
}

std::optional<SPasswordChange> CQtPrompt::AskPasswordChange() {
    return dialogs_.passwordChange ? dialogs_.passwordChange() : std::nullopt;
}

}  // namespace z5r

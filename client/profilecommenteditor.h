// TProfCommentForm: the comment of a profile. A modal dialog with one edit
// filled with the proposed text; Enter confirms, Escape cancels.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QLineEdit;

namespace z5r {

class TProfCommentForm : public QDialog {
    Q_OBJECT
public:
    // `runModal` shows the form and returns its result (QDialog::exec unless given).
    explicit TProfCommentForm(QWidget* parent = nullptr, std::function<int(QDialog&)> runModal = nullptr);

    // The edited text, or none when cancelled.
    std::optional<std::string> Ask(const std::string& text);

    QLineEdit* CommentEdit = nullptr;

private:
    std::function<int(QDialog&)> runModal_;
};

}  // namespace z5r

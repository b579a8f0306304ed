// TChangePassForm: changing the superuser password. Three edits showing "*";
// the old password is emptied at each opening, the other two keep what they
// hold; Enter in any edit acts as OK.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "ui/prompt.h"

class QLineEdit;

namespace z5r {

class TChangePassForm : public QDialog {
    Q_OBJECT
public:
    explicit TChangePassForm(QWidget* parent = nullptr, std::function<int(QDialog&)> runModal = nullptr);

    // The three texts as typed, or none when cancelled.
    std::optional<SPasswordChange> Ask();

    QLineEdit* OldPassEdit = nullptr;
    QLineEdit* NewPassEdit = nullptr;
    QLineEdit* ConfirmPassEdit = nullptr;

private:
    std::function<int(QDialog&)> runModal_;
};

}  // namespace z5r

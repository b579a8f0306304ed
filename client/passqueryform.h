// TPassForm: the superuser password query. The edit is emptied at each
// opening and shows "*"; Enter acts as OK.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QLineEdit;

namespace z5r {

class TPassForm : public QDialog {
    Q_OBJECT
public:
    explicit TPassForm(QWidget* parent = nullptr, std::function<int(QDialog&)> runModal = nullptr);

    // The text entered, or none when cancelled.
    std::optional<std::string> Ask();

    QLineEdit* PassEdit = nullptr;

private:
    std::function<int(QDialog&)> runModal_;
};

}  // namespace z5r

// TProfCommentForm: the comment of a profile. A modal dialog, created once with
// its caption and passed through the catalogue; its content comes with its own
// work.
#pragma once

#include <QDialog>

namespace z5r {

class TProfCommentForm : public QDialog {
    Q_OBJECT
public:
    explicit TProfCommentForm(QWidget* parent = nullptr);
};

}  // namespace z5r

// TListEditorForm: the segment editor of the sweep list. A modal dialog,
// created once with its caption and passed through the catalogue; its content
// comes with its own work.
#pragma once

#include <QDialog>

namespace z5r {

class TListEditorForm : public QDialog {
    Q_OBJECT
public:
    explicit TListEditorForm(QWidget* parent = nullptr);
};

}  // namespace z5r

// TAboutForm: the about window. A modal window, created anew each time it is
// opened, with its caption passed through the catalogue; its content comes
// with its own work.
#pragma once

#include <QDialog>

namespace z5r {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
};

}  // namespace z5r

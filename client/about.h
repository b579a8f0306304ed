// TAboutForm: the about window. A modal tool window, created anew each time it
// is opened, with the product name, the version line, a build line that is
// hidden at every opening (Ctrl+Alt+B shows and hides it), the rights notice
// and two links: a mail to the support service and the maker's web site.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "model/about_texts.h"

namespace z5r {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    TAboutForm(QWidget* parent, const SAboutTexts& texts);

    QLabel* LabelVersion = nullptr;
    QLabel* BuildLabel = nullptr;
    QLabel* LabelMail = nullptr;
    QLabel* LabelURL = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SAboutTexts texts_;
};

// Hands a link (a mail target or a web address) to the desktop.
void OpenLink(const std::string& target);

}  // namespace z5r

#include "own_dialog_parts.h"

#include <QBoxLayout>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "z5r/i18n.h"

namespace z5r {

namespace {

// Selects an edit's text when the edit is entered.
class CSelectOnFocus final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void AddDialogButtons(QDialog& dialog, QBoxLayout& layout, const char* okCaption) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QString::fromUtf8(okCaption), &dialog);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8(Z5R_TEXT("Отмена")), &dialog);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout.addLayout(row);
}

QLineEdit* MakePasswordEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->installEventFilter(new CSelectOnFocus(edit));
    return edit;
}

int RunDialog(QDialog& dialog, const std::function<int(QDialog&)>& runModal) {
    return runModal ? runModal(dialog) : dialog.exec();
}

}  // namespace z5r

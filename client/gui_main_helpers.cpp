#include "gui_main_helpers.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>

namespace z5r {

QAction* MakeAction(QObject* owner, const char* name, const char* caption, const char* hint,
                    const QKeySequence& shortcut) {
    auto* action = Named(new QAction(QString::fromUtf8(caption), owner), name);
    if (hint != nullptr) {
        action->setToolTip(QString::fromUtf8(hint));
        action->setStatusTip(QString::fromUtf8(hint));
    }
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

void BindButton(QAbstractButton* button, QAction* action) {
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
    QObject::connect(action, &QAction::changed, button, [button, action] {
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    });
}

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent) {
    return Named(new QLabel(QString::fromUtf8(text), parent), name);
}

}  // namespace z5r

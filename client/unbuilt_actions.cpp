#include "unbuilt_actions.h"

#include <QAction>
#include <QWidget>

#include "z5r/i18n.h"

namespace z5r {

void HoldUnbuiltActions(QWidget* window) {
    const QString hint = QString::fromUtf8(Z5R_TEXT("Пока недоступно"));
    for (const char* name : kUnbuiltActions) {
        auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
        if (action == nullptr) continue;
        action->setToolTip(hint);
        action->setStatusTip(hint);
        action->setEnabled(false);
        // The window enables actions by its state; these stay off.
        QObject::connect(action, &QAction::changed, action, [action] {
            if (action->isEnabled()) action->setEnabled(false);
        });
    }
}

}  // namespace z5r

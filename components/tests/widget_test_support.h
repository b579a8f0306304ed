// Helpers of the widget tests.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QWidget>
#include <functional>

namespace korvel::test {

// Runs the event loop until `condition` holds or `timeoutMs` passes; the
// condition's last answer.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return condition();
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Shows a top-level window and waits until it can take the keyboard focus.
inline bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return WaitUntil([&window]() { return window.isActiveWindow(); }, 5000);
}

// Types text into a widget key by key, any characters (the test library's own
// typing knows only ASCII).
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace korvel::test

// Small helpers for building the windows: every control gets its control
// name as its object name, so tests and later work find it by that name.
#pragma once

#include <QComboBox>
#include <QKeySequence>
#include <QObject>

class QAbstractButton;
class QAction;
class QLabel;
class QWidget;

namespace z5r {

template <typename T>
T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// An action with its caption and hint (catalogue keys, translated with the
// window) and an optional shortcut.
QAction* MakeAction(QObject* owner, const char* name, const char* caption, const char* hint = nullptr,
                    const QKeySequence& shortcut = {});

// A button that runs `action` and follows its enabled state, keeping a hint of
// its own (a tool button bound with setDefaultAction would take the action's).
void BindButton(QAbstractButton* button, QAction* action);

// A label for a control, named `name`, with `text` (a catalogue key).
QLabel* MakeLabel(const char* name, const char* text, QWidget* parent);

// Fills a combo box with catalogue keys.
template <typename Items>
void FillCombo(QComboBox* combo, const Items& items) {
    for (const char* item : items) combo->addItem(QString::fromUtf8(item));
}

}  // namespace z5r

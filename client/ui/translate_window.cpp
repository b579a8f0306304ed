#include "ui/translate_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

#include "korvel/components/kv_indicator.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

QString Translate(const QString& text) {
    if (text.isEmpty()) return text;
    return QString::fromStdString(Tr(text.toStdString()));
}

// Applies `set` only when the catalogue changes the text, so widgets whose
// texts are no keys (numbers, addresses) are left alone.
template <typename Get, typename Set>
void TranslateText(Get get, Set set) {
    const QString text = get();
    const QString translated = Translate(text);
    if (translated != text) set(translated);
}

void TranslateTreeItem(QTreeWidgetItem* item) {
    for (int column = 0; column < item->columnCount(); ++column) {
        TranslateText([&] { return item->text(column); }, [&](const QString& t) { item->setText(column, t); });
        TranslateText([&] { return item->toolTip(column); },
                      [&](const QString& t) { item->setToolTip(column, t); });
    }
    for (int i = 0; i < item->childCount(); ++i) TranslateTreeItem(item->child(i));
}

void TranslateAction(QAction* action) {
    TranslateText([&] { return action->text(); }, [&](const QString& t) { action->setText(t); });
    // A tool tip nobody set follows the (now translated) text and is no key.
    TranslateText([&] { return action->toolTip(); }, [&](const QString& t) { action->setToolTip(t); });
    TranslateText([&] { return action->statusTip(); }, [&](const QString& t) { action->setStatusTip(t); });
    TranslateText([&] { return action->whatsThis(); }, [&](const QString& t) { action->setWhatsThis(t); });
}

void TranslateWidgetTexts(QWidget* w) {
    TranslateText([&] { return w->windowTitle(); }, [&](const QString& t) { w->setWindowTitle(t); });
    TranslateText([&] { return w->toolTip(); }, [&](const QString& t) { w->setToolTip(t); });
    TranslateText([&] { return w->statusTip(); }, [&](const QString& t) { w->setStatusTip(t); });
    TranslateText([&] { return w->whatsThis(); }, [&](const QString& t) { w->setWhatsThis(t); });

    if (auto* label = qobject_cast<QLabel*>(w)) {
        TranslateText([&] { return label->text(); }, [&](const QString& t) { label->setText(t); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        TranslateText([&] { return button->text(); }, [&](const QString& t) { button->setText(t); });
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        TranslateText([&] { return group->title(); }, [&](const QString& t) { group->setTitle(t); });
    } else if (auto* menu = qobject_cast<QMenu*>(w)) {
        TranslateText([&] { return menu->title(); }, [&](const QString& t) { menu->setTitle(t); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        TranslateText([&] { return edit->placeholderText(); },
                      [&](const QString& t) { edit->setPlaceholderText(t); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i) {
            TranslateText([&] { return combo->itemText(i); }, [&](const QString& t) { combo->setItemText(i, t); });
        }
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            TranslateText([&] { return tabs->tabText(i); }, [&](const QString& t) { tabs->setTabText(i, t); });
            TranslateText([&] { return tabs->tabToolTip(i); },
                          [&](const QString& t) { tabs->setTabToolTip(i, t); });
        }
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        TranslateTreeItem(tree->headerItem());
        for (int i = 0; i < tree->topLevelItemCount(); ++i) TranslateTreeItem(tree->topLevelItem(i));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            TranslateText([&] { return item->text(); }, [&](const QString& t) { item->setText(t); });
            TranslateText([&] { return item->toolTip(); }, [&](const QString& t) { item->setToolTip(t); });
        }
    }

    // The widget package keeps its captions itself.
    if (auto* spin = qobject_cast<korvel::TKvSpinEdit*>(w)) {
        TranslateText([&] { return spin->Label(); }, [&](const QString& t) { spin->SetLabel(t); });
    } else if (auto* readout = qobject_cast<korvel::TKvLabel*>(w)) {
        TranslateText([&] { return readout->Label(); }, [&](const QString& t) { readout->SetLabel(t); });
    } else if (auto* lamp = qobject_cast<korvel::TKvIndicator*>(w)) {
        TranslateText([&] { return lamp->Caption(); }, [&](const QString& t) { lamp->SetCaption(t); });
    } else if (auto* panel = qobject_cast<korvel::TKvRollPanel*>(w)) {
        TranslateText([&] { return panel->Caption(); }, [&](const QString& t) { panel->SetCaption(t); });
    }

    for (QAction* action : w->actions()) TranslateAction(action);
}

}  // namespace

void TranslateWindow(QWidget* root) {
    if (root == nullptr) return;
    TranslateWidgetTexts(root);
    for (QWidget* child : root->findChildren<QWidget*>()) TranslateWidgetTexts(child);
    // Actions the window owns but shows nowhere yet (added to menus later).
    for (QAction* action : root->findChildren<QAction*>()) TranslateAction(action);
}

}  // namespace z5r

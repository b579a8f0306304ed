#include "window_texts.h"

#include <QAbstractItemView>
#include <algorithm>
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QTabWidget>
#include <QTreeWidget>

#include "korvel/components/kv_indicator.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"

namespace z5rtest {

namespace {

class Collector {
public:
    void Add(const QObject* owner, const QString& what, const QString& text) {
        if (text.trimmed().isEmpty()) return;
        texts.push_back({(owner->objectName().isEmpty() ? QString::fromLatin1(owner->metaObject()->className())
                                                        : owner->objectName())
                                 .toStdString() +
                             "." + what.toStdString(),
                         text.toStdString()});
    }

    // Every readable string property, whatever the class calls it.
    void AddStringProperties(const QObject* object) {
        const QMetaObject* meta = object->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (property.metaType().id() != QMetaType::QString || !property.isReadable()) continue;
            const QString name = QString::fromLatin1(property.name());
            if (name == QLatin1String("objectName") || name == QLatin1String("styleSheet")) continue;
            Add(object, name, property.read(object).toString());
        }
    }

    void AddTreeItem(const QObject* owner, const QTreeWidgetItem* item) {
        for (int column = 0; column < item->columnCount(); ++column) {
            Add(owner, QStringLiteral("item"), item->text(column));
            Add(owner, QStringLiteral("itemToolTip"), item->toolTip(column));
        }
        for (int i = 0; i < item->childCount(); ++i) AddTreeItem(owner, item->child(i));
    }

    void AddAction(const QAction* action) {
        AddStringProperties(action);
        if (action->menu() != nullptr) Add(action, QStringLiteral("menuTitle"), action->menu()->title());
    }

    void AddWidget(QWidget* w) {
        AddStringProperties(w);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) Add(w, QStringLiteral("comboItem"), combo->itemText(i));
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                Add(w, QStringLiteral("tab"), tabs->tabText(i));
                Add(w, QStringLiteral("tabToolTip"), tabs->tabToolTip(i));
            }
        }
        if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            AddTreeItem(w, tree->headerItem());
            for (int i = 0; i < tree->topLevelItemCount(); ++i) AddTreeItem(w, tree->topLevelItem(i));
        }
        if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i) Add(w, QStringLiteral("listItem"), list->item(i)->text());
        }
        if (auto* spin = qobject_cast<korvel::TKvSpinEdit*>(w)) {
            Add(w, QStringLiteral("Label"), spin->Label());
            Add(w, QStringLiteral("unit"), spin->GetCurentUnit());
        }
        if (auto* readout = qobject_cast<korvel::TKvLabel*>(w)) Add(w, QStringLiteral("Label"), readout->Label());
        if (auto* lamp = qobject_cast<korvel::TKvIndicator*>(w)) Add(w, QStringLiteral("Caption"), lamp->Caption());
        if (auto* panel = qobject_cast<korvel::TKvRollPanel*>(w)) Add(w, QStringLiteral("Caption"), panel->Caption());
        for (QAction* action : w->actions()) AddAction(action);
    }

    std::vector<ShownText> texts;
};

bool HasCyrillic(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

}  // namespace

std::vector<ShownText> CollectTexts(QWidget* window) {
    Collector collector;
    collector.AddWidget(window);
    for (QWidget* child : window->findChildren<QWidget*>()) collector.AddWidget(child);
    for (QAction* action : window->findChildren<QAction*>()) collector.AddAction(action);
    return collector.texts;
}

std::vector<ShownText> CyrillicTexts(QWidget* window) {
    std::vector<ShownText> found;
    for (auto& shown : CollectTexts(window)) {
        if (HasCyrillic(QString::fromStdString(shown.text))) found.push_back(std::move(shown));
    }
    return found;
}

}  // namespace z5rtest

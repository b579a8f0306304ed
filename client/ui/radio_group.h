// A titled group of radio buttons chosen by index, as the windows' radio
// groups (the sweep type, the value kinds of the segment editor) need.
#pragma once

#include <QGroupBox>
#include <QIcon>
#include <QStringList>

class QButtonGroup;

namespace z5r {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    int Count() const;
    QString ItemText(int index) const;
    // The checked item, -1 when none.
    int ItemIndex() const;
    // Checks item `index` (-1 clears the choice) without emitting itemClicked.
    void SetItemIndex(int index);
    // A picture beside item `index`: the icon's On picture while the item is
    // checked, its Off picture otherwise.
    void SetItemImage(int index, const QIcon& image);
    // The picture the item shows now.
    QIcon ItemIcon(int index) const;

signals:
    // The operator chose an item.
    void itemClicked(int index);

private:
    QButtonGroup* buttons_ = nullptr;
};

}  // namespace z5r

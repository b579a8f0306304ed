#include "ui/radio_group.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace z5r {

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_->addButton(button, i);
        layout->addWidget(button);
    }
    connect(buttons_, &QButtonGroup::idClicked, this, &TRadioGroup::itemClicked);
}

int TRadioGroup::Count() const { return static_cast<int>(buttons_->buttons().size()); }

QString TRadioGroup::ItemText(int index) const {
    const QAbstractButton* button = buttons_->button(index);
    return button != nullptr ? button->text() : QString();
}

int TRadioGroup::ItemIndex() const { return buttons_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = buttons_->button(index)) {
        button->setChecked(true);
        return;
    }
    // Clearing needs the exclusive group to let go of its checked button.
    buttons_->setExclusive(false);
    for (QAbstractButton* button : buttons_->buttons()) button->setChecked(false);
    buttons_->setExclusive(true);
}

void TRadioGroup::SetItemImage(int index, const QIcon& image) {
    QAbstractButton* button = buttons_->button(index);
    if (button == nullptr) return;
    const auto show = [button, image](bool checked) {
        button->setIcon(QIcon(image.pixmap(button->iconSize(), QIcon::Normal, checked ? QIcon::On : QIcon::Off)));
    };
    show(button->isChecked());
    connect(button, &QAbstractButton::toggled, this, show);
}

QIcon TRadioGroup::ItemIcon(int index) const {
    const QAbstractButton* button = buttons_->button(index);
    return button != nullptr ? button->icon() : QIcon();
}

}  // namespace z5r

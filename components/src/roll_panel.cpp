#include "korvel/components/roll_panel.h"

#include <QEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <utility>

namespace korvel {

// ---- TKvRollPanel -------------------------------------------------------------

TKvRollPanel::TKvRollPanel(const QString& caption, QWidget* parent) : QWidget(parent) {
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(2);

    bar_ = new QToolButton(this);
    bar_->setText(caption);
    bar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar_->setArrowType(Qt::DownArrow);
    bar_->setAutoRaise(true);
    bar_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont bold = bar_->font();
    bold.setBold(true);
    bar_->setFont(bold);
    connect(bar_, &QToolButton::clicked, this, [this]() { SetCollapsed(!collapsed_); });
    layout_->addWidget(bar_);

    SetContent(new QWidget(this));
}

QString TKvRollPanel::Caption() const { return bar_->text(); }

void TKvRollPanel::SetCaption(const QString& caption) { bar_->setText(caption); }

void TKvRollPanel::SetContent(QWidget* content) {
    if (content == content_) return;
    if (content_ != nullptr) {
        layout_->removeWidget(content_);
        delete content_;
        content_ = nullptr;
    }
    if (content == nullptr) content = new QWidget(this);
    content_ = content;
    content_->setParent(this);
    // Owners build their content disabled; a panel that holds it makes it usable.
    content_->setEnabled(true);
    content_->setVisible(!collapsed_);
    layout_->addWidget(content_);
}

void TKvRollPanel::SetCollapsed(bool collapsed) {
    if (collapsed_ == collapsed) return;
    collapsed_ = collapsed;
    content_->setVisible(!collapsed_);
    bar_->setArrowType(collapsed_ ? Qt::RightArrow : Qt::DownArrow);
    emit collapsedChanged(collapsed_);
}

// ---- TKvPageScroller ------------------------------------------------------------

TKvPageScroller::TKvPageScroller(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column_ = new QWidget;
    columnLayout_ = new QVBoxLayout(column_);
    columnLayout_->setContentsMargins(2, 2, 2, 2);
    columnLayout_->setSpacing(4);
    columnLayout_->addStretch(1);
    setWidget(column_);
}

TKvPageScroller::~TKvPageScroller() {
    // The panels go with the column after this object's members are gone.
    for (TKvRollPanel* panel : panels_) disconnect(panel, nullptr, this, nullptr);
    panels_.clear();
}

int TKvPageScroller::AddPanel(TKvRollPanel* panel) {
    if (panel == nullptr) return -1;
    const int existing = IndexOf(panel);
    if (existing >= 0) return existing;
    const int index = PanelCount();
    panel->setParent(column_);
    panel->SetOrderIndex(index);
    panels_.push_back(panel);
    guardsStale_ = true;
    // Removed from the list when the owner deletes it.
    connect(panel, &QObject::destroyed, this, [this](QObject* gone) {
        panels_.erase(std::remove(panels_.begin(), panels_.end(), gone), panels_.end());
    });
    ArrangePanels();
    return index;
}

void TKvPageScroller::GuardWheel(QWidget* panel) {
    QList<QWidget*> widgets = panel->findChildren<QWidget*>();
    widgets.append(panel);
    for (QWidget* widget : widgets) {
        // A combo box's list pops up as a window of its own and scrolls.
        if (widget->window() != panel->window()) continue;
        // A wheel turned over a control must not hand it the focus either.
        if (widget->focusPolicy() == Qt::WheelFocus) widget->setFocusPolicy(Qt::StrongFocus);
        widget->installEventFilter(this);
    }
}

bool TKvPageScroller::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ChildAdded) guardsStale_ = true;
    if (event->type() != QEvent::Wheel) return QScrollArea::eventFilter(watched, event);
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->hasFocus()) return false;
    // Not delivered here; the toolkit passes an ignored wheel on to the
    // parents, up to the column's viewport, which scrolls.
    event->ignore();
    return true;
}

TKvRollPanel* TKvPageScroller::Panel(int index) const {
    if (index < 0 || index >= PanelCount()) return nullptr;
    return panels_[static_cast<std::size_t>(index)];
}

int TKvPageScroller::IndexOf(const TKvRollPanel* panel) const {
    const auto found = std::find(panels_.begin(), panels_.end(), panel);
    return found == panels_.end() ? -1 : static_cast<int>(found - panels_.begin());
}

std::vector<TKvRollPanel*> TKvPageScroller::PanelsInDisplayOrder() const {
    std::vector<TKvRollPanel*> ordered = panels_;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TKvRollPanel* a, const TKvRollPanel* b) {
                         return a->OrderIndex() < b->OrderIndex();
                     });
    return ordered;
}

void TKvPageScroller::ArrangePanels() {
    for (TKvRollPanel* panel : panels_) columnLayout_->removeWidget(panel);
    int position = 0;
    // Controls may have come since the panels were added; walking every
    // control again on each rearrangement (a panel shown or hidden) is not free.
    const bool guard = std::exchange(guardsStale_, false);
    // Panels first, the stretch that keeps them at the top last.
    for (TKvRollPanel* panel : PanelsInDisplayOrder()) {
        columnLayout_->insertWidget(position++, panel);
        if (guard) GuardWheel(panel);
    }
    column_->adjustSize();
}

}  // namespace korvel

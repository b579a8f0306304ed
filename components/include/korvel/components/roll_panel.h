// Roll-up panels and the page scroller that holds them in one scrollable
// column.
//
// TKvRollPanel: a caption bar (click it to roll the content up or down) above
// a content widget. The content is made usable (enabled) when the panel takes
// it, so owners may build it disabled.
//
// TKvPageScroller: keeps its panels in the order they were added (the panel
// index) and shows them by their order index; ArrangePanels re-reads the order
// indexes and the visibility. Hidden panels take no room. The mouse wheel
// over the panels scrolls the column; only the control that has the keyboard
// focus takes it, so scrolling never changes a setting by accident.
#pragma once

#include <QScrollArea>
#include <QString>
#include <QWidget>
#include <vector>

class QToolButton;
class QVBoxLayout;

namespace korvel {

class TKvRollPanel : public QWidget {
    Q_OBJECT
public:
    explicit TKvRollPanel(const QString& caption = {}, QWidget* parent = nullptr);

    QString Caption() const;
    void SetCaption(const QString& caption);

    // The content widget (an empty one until SetContent); the panel owns it.
    QWidget* Content() const { return content_; }
    // Replaces the content (the old one is deleted) and enables it.
    void SetContent(QWidget* content);

    bool Collapsed() const { return collapsed_; }
    void SetCollapsed(bool collapsed);

    // The position key the scroller arranges by (smaller first).
    int OrderIndex() const { return orderIndex_; }
    void SetOrderIndex(int index) { orderIndex_ = index; }

    // Shown in the scroller (not hidden by its owner), whether or not the
    // window itself is on screen.
    bool IsPanelVisible() const { return !isHidden(); }

signals:
    void collapsedChanged(bool collapsed);

private:
    QToolButton* bar_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    QWidget* content_ = nullptr;
    bool collapsed_ = false;
    int orderIndex_ = 0;
};

class TKvPageScroller : public QScrollArea {
    Q_OBJECT
public:
    explicit TKvPageScroller(QWidget* parent = nullptr);
    ~TKvPageScroller() override;

    // Takes the panel; its order index becomes the panel index it gets.
    // Returns that index.
    int AddPanel(TKvRollPanel* panel);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    // The panel by index (order of adding); nullptr outside the range.
    TKvRollPanel* Panel(int index) const;
    // The index of a panel, -1 when it is not one of ours.
    int IndexOf(const TKvRollPanel* panel) const;

    // Lays the panels out again by their order indexes (equal indexes keep the
    // order of adding) and their visibility.
    void ArrangePanels();
    // The panels as arranged, top first, hidden ones included.
    std::vector<TKvRollPanel*> PanelsInDisplayOrder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GuardWheel(QWidget* panel);

    QWidget* column_ = nullptr;
    QVBoxLayout* columnLayout_ = nullptr;
    // A panel or control came since the wheel guards were last set; every
    // guarded widget reports its new children through the guard's filter.
    bool guardsStale_ = true;
    std::vector<TKvRollPanel*> panels_;
};

}  // namespace korvel

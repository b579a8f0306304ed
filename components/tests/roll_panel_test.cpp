// Roll-up panels in the page scroller: indexes, order, visibility, rolling up.
#include "korvel/components/roll_panel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "widget_test_support.h"

namespace korvel {
namespace {

class PageScrollerTest : public ::testing::Test {
protected:
    void SetUp() override {
        scroller_.resize(300, 800);
        for (const char* caption : {"Управление", "Частота", "Мощность"}) {
            auto* panel = new TKvRollPanel(QString::fromUtf8(caption));
            auto* content = new QWidget;
            content->setEnabled(false);  // as the owner builds it
            auto* layout = new QVBoxLayout(content);
            layout->addWidget(new QLabel(QStringLiteral("x"), content));
            content->setMinimumHeight(60);
            panel->SetContent(content);
            panels_.push_back(panel);
            scroller_.AddPanel(panel);
        }
        ASSERT_TRUE(test::ShowActive(scroller_));
    }

    // Top edges of the panels shown, in screen order.
    std::vector<int> Tops() {
        QApplication::processEvents();
        std::vector<int> tops;
        for (auto* panel : panels_) tops.push_back(panel->isVisible() ? panel->y() : -1);
        return tops;
    }

    TKvPageScroller scroller_;
    std::vector<TKvRollPanel*> panels_;
};

TEST_F(PageScrollerTest, CountsAndFindsItsPanels) {
    EXPECT_EQ(scroller_.PanelCount(), 3);
    EXPECT_EQ(scroller_.Panel(1), panels_[1]);
    EXPECT_EQ(scroller_.Panel(3), nullptr);
    EXPECT_EQ(scroller_.Panel(-1), nullptr);
    EXPECT_EQ(scroller_.IndexOf(panels_[2]), 2);
    TKvRollPanel stranger;
    EXPECT_EQ(scroller_.IndexOf(&stranger), -1);
    EXPECT_EQ(scroller_.AddPanel(panels_[0]), 0);  // adding twice changes nothing
    EXPECT_EQ(scroller_.PanelCount(), 3);
    EXPECT_EQ(panels_[2]->OrderIndex(), 2);
    EXPECT_EQ(panels_[1]->Caption(), "Частота");
    // The content the owner built disabled is usable inside the panel.
    EXPECT_TRUE(panels_[0]->Content()->isEnabled());
}

TEST_F(PageScrollerTest, ArrangesByOrderIndex) {
    auto tops = Tops();
    EXPECT_LT(tops[0], tops[1]);
    EXPECT_LT(tops[1], tops[2]);
    panels_[0]->SetOrderIndex(5);
    panels_[2]->SetOrderIndex(-1);
    scroller_.ArrangePanels();
    tops = Tops();
    EXPECT_LT(tops[2], tops[1]);
    EXPECT_LT(tops[1], tops[0]);
    const auto ordered = scroller_.PanelsInDisplayOrder();
    EXPECT_EQ(ordered, (std::vector<TKvRollPanel*>{panels_[2], panels_[1], panels_[0]}));
    // The panel index does not follow the arrangement.
    EXPECT_EQ(scroller_.Panel(0), panels_[0]);
}

TEST_F(PageScrollerTest, HiddenPanelsTakeNoRoom) {
    const int secondTop = Tops()[1];
    panels_[0]->hide();
    scroller_.ArrangePanels();
    EXPECT_FALSE(panels_[0]->IsPanelVisible());
    EXPECT_LT(Tops()[1], secondTop);
    // Hide all, restore all, the way the owner does it.
    for (int i = 0; i < scroller_.PanelCount(); ++i) scroller_.Panel(i)->setVisible(false);
    scroller_.ArrangePanels();
    EXPECT_EQ(Tops(), (std::vector<int>{-1, -1, -1}));
    for (int i = 0; i < scroller_.PanelCount(); ++i) scroller_.Panel(i)->setVisible(true);
    scroller_.ArrangePanels();
    EXPECT_EQ(Tops()[1], secondTop);
}

TEST_F(PageScrollerTest, CaptionBarRollsTheContentUpAndDown) {
    TKvRollPanel* panel = panels_[0];
    QSignalSpy rolled(panel, &TKvRollPanel::collapsedChanged);
    const int thirdTop = Tops()[2];
    auto* bar = panel->findChild<QToolButton*>();
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton);
    EXPECT_TRUE(panel->Collapsed());
    EXPECT_FALSE(panel->Content()->isVisible());
    ASSERT_TRUE(test::WaitUntil([&]() { return Tops()[2] < thirdTop; }));
    QTest::mouseClick(bar, Qt::LeftButton);
    EXPECT_FALSE(panel->Collapsed());
    EXPECT_TRUE(panel->Content()->isVisible());
    ASSERT_EQ(rolled.count(), 2);
    EXPECT_EQ(rolled.at(0).at(0).toBool(), true);
    panel->SetCollapsed(false);  // no change, no signal
    EXPECT_EQ(rolled.count(), 2);
}

TEST_F(PageScrollerTest, ForgetsADeletedPanel) {
    delete panels_[1];
    panels_.erase(panels_.begin() + 1);
    EXPECT_EQ(scroller_.PanelCount(), 2);
    EXPECT_EQ(scroller_.Panel(1), panels_[1]);
    scroller_.ArrangePanels();
}

TEST(TKvPageScroller, TheWheelIsLeftToTheColumnUnlessTheControlHasTheFocus) {
    TKvPageScroller scroller;
    auto* panel = new TKvRollPanel(QStringLiteral("Управление"));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto* combo = new QComboBox(content);
    combo->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    layout->addWidget(combo);
    panel->SetContent(content);
    scroller.AddPanel(panel);
    ASSERT_TRUE(test::ShowActive(scroller));

    // Whether the combo box took the wheel; one it leaves the toolkit passes
    // on to the parents, up to the column, which scrolls.
    const auto turn = [combo] {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        return wheel.isAccepted();
    };
    EXPECT_FALSE(turn());
    EXPECT_EQ(combo->currentIndex(), 0);

    combo->setFocus();
    ASSERT_TRUE(test::WaitUntil([&] { return combo->hasFocus(); }));
    EXPECT_TRUE(turn());
    EXPECT_EQ(combo->currentIndex(), 1);

    // A control that comes after the panels were arranged is guarded by the
    // next arrangement, one that comes to it as well.
    auto* later = new QComboBox(content);
    later->addItems({QStringLiteral("x"), QStringLiteral("y")});
    layout->addWidget(later);
    scroller.ArrangePanels();
    combo->setFocus();
    ASSERT_TRUE(test::WaitUntil([&] { return combo->hasFocus(); }));
    const QPointF at(5, 5);
    QWheelEvent wheel(at, later->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(later, &wheel);
    EXPECT_FALSE(wheel.isAccepted());
    EXPECT_EQ(later->currentIndex(), 0);
    EXPECT_EQ(later->focusPolicy(), Qt::StrongFocus);
}

TEST(TKvRollPanel, ReplacingTheContentDeletesTheOldOne) {
    TKvRollPanel panel(QStringLiteral("Синхронизация"));
    QPointer<QWidget> first = panel.Content();
    auto* second = new QWidget;
    panel.SetCollapsed(true);
    panel.SetContent(second);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(panel.Content(), second);
    EXPECT_TRUE(second->isHidden());  // still rolled up
    panel.SetCaption(QStringLiteral("Опорный генератор"));
    EXPECT_EQ(panel.Caption(), "Опорный генератор");
}

}  // namespace
}  // namespace korvel

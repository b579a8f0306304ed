// The main window as the operator sees it at its minimum size, in Russian and
// in English: no control of the column, readout, summary line, tool button or
// status-bar text is cut or hidden.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyleOptionFrame>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "gui_main.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "test_env.h"
#include "ui/scripted_prompt.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

std::string Name(const QWidget* w) {
    const QWidget* named = w;
    while (named != nullptr && named->objectName().isEmpty()) named = named->parentWidget();
    return std::string(w->metaObject()->className()) + " in " +
           (named != nullptr ? named->objectName().toStdString() : std::string("?"));
}

// The width a combo box needs to show its longest item with its arrow: what
// one sized to its contents asks for.
int ComboNeeds(const QComboBox* combo) {
    QComboBox sized;
    sized.setFont(combo->font());
    sized.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (int i = 0; i < combo->count(); ++i) sized.addItem(combo->itemText(i));
    return sized.sizeHint().width();
}

// The width a line edit needs to show its text.
int LineEditNeeds(const QLineEdit* edit) {
    constexpr int kTextMargins = 4;  // the line edit's own, both sides
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const int text = edit->fontMetrics().horizontalAdvance(edit->text()) + kTextMargins;
    return edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, edit->fontMetrics().height()),
                                           edit).width();
}

// What a control needs to show itself whole; 0 for containers.
int WidthNeeded(const QWidget* w) {
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        // A unit shows whole; a long setting may be shortened, never its arrow.
        if (qobject_cast<const korvel::TKvSpinEdit*>(w->parentWidget()) != nullptr) return ComboNeeds(combo);
        return combo->minimumSizeHint().width();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) return LineEditNeeds(edit);
    if (qobject_cast<const QLabel*>(w) != nullptr || qobject_cast<const QAbstractButton*>(w) != nullptr) {
        return w->sizeHint().width();
    }
    return 0;
}

class WindowLayout : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        SetupCatalogue(APP_LOCALE_DIR, GetParam());
        STMainOptions options;
        options.prompt = &prompt_;
        options.runModal = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
        main_ = std::make_unique<TMain>(std::move(options));
        main_->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        main_.reset();
        SetupCatalogue(APP_LOCALE_DIR, "ru");
    }

    z5rtest::UserFolders folders_;
    CScriptedPrompt prompt_;
    std::unique_ptr<TMain> main_;
};

TEST_P(WindowLayout, WindowKeepsItsMinimumSize) { EXPECT_EQ(main_->size(), QSize(920, 590)); }

TEST_P(WindowLayout, EveryControlOfTheColumnIsWholeInsideTheViewport) {
    // Every panel open, the pulse panel too, each edit at the widest values
    // it takes.
    main_->PMPan->setVisible(true);
    for (korvel::TKvRollPanel* panel : main_->ControlPS->PanelsInDisplayOrder()) panel->SetCollapsed(false);
    main_->ControlPS->ArrangePanels();
    const auto edits = main_->ControlPS->widget()->findChildren<korvel::TKvSpinEdit*>();
    ASSERT_EQ(edits.size(), 18);  // the table's seventeen and the power ceiling
    const QWidget* viewport = main_->ControlPS->viewport();
    for (const bool widest : {false, true}) {
        for (korvel::TKvSpinEdit* edit : edits) edit->SetValue(widest ? edit->MaxValue() : edit->MinValue());
        QApplication::processEvents();
        int checked = 0;
        for (QWidget* w : main_->ControlPS->widget()->findChildren<QWidget*>()) {
            const int needed = WidthNeeded(w);
            if (needed == 0 || !w->isVisibleTo(main_.get())) continue;
            ++checked;
            // The whole control, not only a line edit's cursor.
            const QPoint at = w->mapTo(main_->ControlPS->widget(), QPoint(0, 0));
            main_->ControlPS->ensureVisible(at.x() + w->width() / 2, at.y() + w->height() / 2, (w->width() + 1) / 2,
                                            (w->height() + 1) / 2);
            QApplication::processEvents();
            const QRect shown(w->mapTo(viewport, QPoint(0, 0)), w->size());
            EXPECT_TRUE(viewport->rect().contains(shown)) << Name(w);
            EXPECT_GE(w->width(), needed) << Name(w) << " \"" << w->property("text").toString().toStdString()
                                          << "\"";
        }
        EXPECT_GT(checked, 60);
    }
}

TEST_P(WindowLayout, ReadoutsAndBothSummaryListsAreWhole) {
    for (korvel::TKvLabel* readout :
         {main_->F0Label, main_->F1Label, main_->F2Label, main_->P0Label, main_->P1Label, main_->P2Label}) {
        EXPECT_GE(readout->width(), readout->sizeHint().width()) << readout->objectName().toStdString();
        EXPECT_GE(readout->height(), readout->sizeHint().height()) << readout->objectName().toStdString();
    }
    for (QTreeWidget* list : {main_->ParamsLV1, main_->ParamsLV2}) {
        ASSERT_EQ(list->topLevelItemCount(), 7);
        const QTreeWidgetItem* last = list->topLevelItem(6);
        EXPECT_LE(list->visualItemRect(last).bottom(), list->viewport()->height()) << list->objectName().toStdString();
        const int captions = list->header()->sectionSize(0);
        for (int line = 0; line < 7; ++line) {
            const QTreeWidgetItem* item = list->topLevelItem(line);
            EXPECT_GE(captions, list->fontMetrics().horizontalAdvance(item->text(0))) << item->text(0).toStdString();
            EXPECT_LE(captions + list->fontMetrics().horizontalAdvance(item->text(1)), list->viewport()->width())
                << item->text(0).toStdString();
        }
    }
}

TEST_P(WindowLayout, ToolBarShowsItsFourActionsWithPictures) {
    for (QAction* action :
         {main_->ConnectAction, main_->DisconnectAction, main_->EnableRFAction, main_->HandModeStepAction}) {
        QWidget* button = main_->ToolBar->widgetForAction(action);
        ASSERT_NE(button, nullptr) << action->objectName().toStdString();
        EXPECT_TRUE(button->isVisible()) << action->objectName().toStdString();
        EXPECT_TRUE(main_->ToolBar->rect().contains(button->geometry())) << action->objectName().toStdString();
        EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
    }
}

TEST_P(WindowLayout, CompactStatusBarTextsStandApart) {
    main_->CompactViewAction->trigger();
    QApplication::processEvents();
    std::vector<QWidget*> shown;
    for (QWidget* item : main_->statusBar()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (item->isVisible() && (qobject_cast<QLabel*>(item) != nullptr || item == static_cast<QWidget*>(main_->SweepPB))) shown.push_back(item);
    }
    ASSERT_GE(shown.size(), 3u);  // the connection, the RF button and the progress
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_GE(shown[i]->width(), WidthNeeded(shown[i])) << shown[i]->objectName().toStdString();
        EXPECT_LE(shown[i]->geometry().right(), main_->statusBar()->width()) << shown[i]->objectName().toStdString();
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << shown[i]->objectName().toStdString() << " and " << shown[j]->objectName().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowLayout, ::testing::Values("ru", "en"));

}  // namespace
}  // namespace z5r

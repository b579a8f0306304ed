// The segment editor's window: its edits and radio groups show the rules'
// values, and the operator's typing and clicks reach them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "korvel/components/kv_spin_edit.h"
#include "listeditor.h"
#include "ui/radio_group.h"

namespace z5r {
namespace {

constexpr double GHz = 1e9;

// Replaces the text of an edit as the operator does, and confirms it.
void TypeAndConfirm(korvel::TKvSpinEdit* edit, const QString& text) {
    edit->LineEdit()->selectAll();
    QTest::keyClicks(edit->LineEdit(), text);
    QTest::keyClick(edit->LineEdit(), Qt::Key_Return);
}

void ClickItem(TRadioGroup* group, int item) {
    group->findChildren<QRadioButton*>().at(item)->click();
}

TEST(ListEditorWindow, OpeningShowsTheSegment) {
    std::vector<double> shown;
    std::vector<bool> enabled;
    int freqItem = -1;
    int powItem = -1;
    bool spacingEnabled = false;
    TListEditorForm* form = nullptr;
    TListEditorForm editor(nullptr, [&](QDialog&) {
        for (int edit = 0; edit < kSegmentEditCount; ++edit) {
            shown.push_back(form->Edit(edit)->GetValue());
            enabled.push_back(form->Edit(edit)->isEnabled());
        }
        freqItem = form->FreqValRG->ItemIndex();
        powItem = form->PowValRG->ItemIndex();
        spacingEnabled = form->LinLogRG->isEnabled();
        return static_cast<int>(QDialog::Rejected);
    });
    form = &editor;
    SListPoint segment;
    EXPECT_EQ(editor.EditSegment(segment), QDialog::Rejected);
    EXPECT_EQ(shown, (std::vector<double>{10e6, 20 * GHz, 10005e6, 19990e6, 501, -30, 10, 0, 40}));
    EXPECT_EQ(enabled,
              (std::vector<bool>{true, true, true, true, true, false, false, true, false}));
    EXPECT_EQ(freqItem, static_cast<int>(EValueMode::Range));
    EXPECT_EQ(powItem, static_cast<int>(EValueMode::Fixed));
    EXPECT_TRUE(spacingEnabled);
    EXPECT_EQ(segment, SListPoint{});
}

TEST(ListEditorWindow, TypedEntriesAndClicksComeBackOnOk) {
    TListEditorForm* form = nullptr;
    double shownCentre = 0;
    TListEditorForm editor(nullptr, [&](QDialog& dialog) {
        TypeAndConfirm(form->Edit(seFreqStop), QStringLiteral("3000"));  // MHz
        shownCentre = form->Edit(seFreqCenter)->GetValue();
        TypeAndConfirm(form->Edit(sePoints), QStringLiteral("11"));
        ClickItem(form->LinLogRG, static_cast<int>(ESpacing::Log));
        ClickItem(form->PowValRG, static_cast<int>(EValueMode::Range));
        TypeAndConfirm(form->Edit(sePowStop), QStringLiteral("5"));
        form->OkButton->click();
        return dialog.result();
    });
    form = &editor;
    SListPoint segment{501, 1 * GHz, 2 * GHz, 1, 0, -10, -10};
    EXPECT_EQ(editor.EditSegment(segment), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(shownCentre, 2 * GHz);
    // The level start is what the form held before: a fixed level has none.
    EXPECT_EQ(segment, (SListPoint{11, 1 * GHz, 3 * GHz, 0, 0, -30, 5}));
}

TEST(ListEditorWindow, CancelLeavesTheSegment) {
    TListEditorForm* form = nullptr;
    TListEditorForm editor(nullptr, [&](QDialog& dialog) {
        ClickItem(form->FreqValRG, static_cast<int>(EValueMode::Fixed));
        TypeAndConfirm(form->Edit(seFreqCenter), QStringLiteral("7000"));
        form->CancelButton->click();
        return dialog.result();
    });
    form = &editor;
    SListPoint segment;
    EXPECT_EQ(editor.EditSegment(segment), QDialog::Rejected);
    EXPECT_EQ(segment, SListPoint{});
    EXPECT_FALSE(editor.Edit(seFreqStart)->isEnabled());
    EXPECT_FALSE(editor.LinLogRG->isEnabled());
}

TEST(ListEditorWindow, LimitsReachTheEdits) {
    TListEditorForm editor;
    editor.SetLimits(SSegmentEditorLimits{15, -110, 20 * GHz, 1e5});
    EXPECT_EQ(editor.Edit(seFreqStop)->MaxValue(), 20 * GHz);
    EXPECT_EQ(editor.Edit(seFreqSpan)->MaxValue(), 20 * GHz - 1e5);
    EXPECT_EQ(editor.Edit(sePowCenter)->MinValue(), -110);
    EXPECT_EQ(editor.Edit(sePoints)->MaxValue(), 100001);
}

}  // namespace
}  // namespace z5r

// The numeric edit as an operator and its owner see it: notifications,
// stepping, the changed mark, blank and out-of-range values, units.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <vector>

#include "korvel/components/kv_spin_edit.h"
#include "step_dialog.h"
#include "widget_test_support.h"

namespace korvel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A window with the edit and a second field to move the focus to; records
// every notification with the value it saw.
class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        edit_ = new TKvSpinEdit(&window_);
        other_ = new QLineEdit(&window_);
        layout->addWidget(edit_);
        layout->addWidget(other_);
        edit_->OnChange = [this](TKvSpinEdit* sender) {
            EXPECT_EQ(sender, edit_);
            changes_.push_back(sender->GetValue());
        };
        edit_->OnValidate = [this](TKvSpinEdit* sender) {
            validations_.push_back(sender->GetValue());
        };
        ASSERT_TRUE(test::ShowActive(window_));
        Focus(edit_->LineEdit());
    }

    static void Focus(QWidget* widget) {
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(test::WaitUntil([widget]() { return widget->hasFocus(); }));
    }

    // Replaces the whole text the way an operator does.
    void Type(const QString& text) {
        edit_->LineEdit()->selectAll();
        QTest::keyClick(edit_->LineEdit(), Qt::Key_Delete);
        test::TypeText(edit_->LineEdit(), text);
    }

    void Key(Qt::Key key) { QTest::keyClick(edit_->LineEdit(), key); }

    // One wheel notch (or part of one) over the edit; whether it was taken.
    bool Wheel(int delta) {
        const QPoint at = edit_->LineEdit()->rect().center();
        QWheelEvent event(at, edit_->LineEdit()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        event.setAccepted(false);
        QApplication::sendEvent(edit_->LineEdit(), &event);
        return event.isAccepted();
    }

    void Forget() {
        changes_.clear();
        validations_.clear();
    }

    QWidget window_;
    TKvSpinEdit* edit_ = nullptr;
    QLineEdit* other_ = nullptr;
    std::vector<double> changes_;
    std::vector<double> validations_;
};

TEST_F(SpinEditTest, TypingNotifiesEveryChangeButConfirmsNothing) {
    Type("12");
    // Delete on an empty field changes nothing; then one notice per key.
    ASSERT_GE(changes_.size(), 2u);
    EXPECT_EQ(changes_.back(), 12.0);
    EXPECT_EQ(edit_->GetValue(), 12.0);
    EXPECT_TRUE(validations_.empty());
    EXPECT_TRUE(edit_->GetChangedVal());
    EXPECT_TRUE(edit_->LineEdit()->font().bold());
}

TEST_F(SpinEditTest, SetValueNotifiesEvenWithTheSameValueAndConfirmsNothing) {
    edit_->SetValue(5);
    edit_->SetValue(5);
    EXPECT_EQ(changes_, (std::vector<double>{5.0, 5.0}));
    EXPECT_TRUE(validations_.empty());
    EXPECT_FALSE(edit_->GetChangedVal());  // the program does not mark
    EXPECT_EQ(edit_->GetText(), "5");
}

TEST_F(SpinEditTest, DetachedChangeStaysSilentAlsoAfterReattaching) {
    const auto handler = edit_->OnChange;
    edit_->OnChange = nullptr;
    edit_->SetValue(7);
    Type("8");
    Key(Qt::Key_Up);
    edit_->OnChange = handler;
    QApplication::processEvents();
    EXPECT_TRUE(changes_.empty());
    edit_->SetValue(9);
    EXPECT_EQ(changes_, std::vector<double>{9.0});
}

TEST_F(SpinEditTest, AHandlerMayDetachItselfWhileRunning) {
    int calls = 0;
    edit_->OnChange = [this, &calls](TKvSpinEdit*) {
        ++calls;
        edit_->OnChange = nullptr;
        edit_->SetValue(100);  // would recurse if the detach did not hold
    };
    edit_->SetValue(1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(edit_->GetValue(), 100.0);
}

TEST_F(SpinEditTest, EnterConfirmsAndStaysInTheEdit) {
    // Inside a dialog Enter must not press the default button.
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new TKvSpinEdit(&dialog);
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    layout->addWidget(edit);
    layout->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    int validations = 0;
    edit->OnValidate = [&validations](TKvSpinEdit*) { ++validations; };
    ASSERT_TRUE(test::ShowActive(dialog));
    Focus(edit->LineEdit());
    QTest::keyClicks(edit->LineEdit(), "42");
    QTest::keyClick(edit->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(validations, 1);
    EXPECT_EQ(edit->GetValue(), 42.0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    QTest::keyClick(edit->LineEdit(), Qt::Key_Enter);  // the keypad key too
    EXPECT_EQ(validations, 2);
}

TEST_F(SpinEditTest, LeavingConfirmsOnlyAChangedValue) {
    edit_->SetValue(3);
    Focus(other_);
    EXPECT_TRUE(validations_.empty());  // nothing typed

    Focus(edit_->LineEdit());
    Type("3");
    Focus(other_);
    EXPECT_TRUE(validations_.empty());  // typed, but the same value

    Focus(edit_->LineEdit());
    Type("4");
    Focus(other_);
    EXPECT_EQ(validations_, std::vector<double>{4.0});
    EXPECT_EQ(edit_->RememberedValue(), 4.0);

    // Compared with what the owner told the edit to remember.
    Focus(edit_->LineEdit());
    edit_->SetValue(10);
    edit_->RememberValue();
    Type("10");
    Focus(other_);
    EXPECT_EQ(validations_.size(), 1u);
}

TEST_F(SpinEditTest, UnreadableTextIsNeverConfirmed) {
    edit_->SetValue(5);
    Forget();
    for (const char* junk : {"abc", "1.2.3", "--", "1e", "nan"}) {
        Type(junk);
        EXPECT_TRUE(std::isnan(edit_->GetValue())) << junk;
        EXPECT_EQ(edit_->GetText(), "") << junk;
        Key(Qt::Key_Return);
        Key(Qt::Key_Up);  // nothing to step from
    }
    Focus(other_);
    EXPECT_TRUE(validations_.empty());
    ASSERT_FALSE(changes_.empty());
    EXPECT_TRUE(std::isnan(changes_.back()));
    // The junk stays for the operator to correct, shown as wrong.
    EXPECT_EQ(edit_->LineEdit()->text(), "nan");
    EXPECT_EQ(edit_->LineEdit()->palette().color(QPalette::Text), QColor(Qt::red));
    // A blank entry is not a number either.
    Focus(edit_->LineEdit());
    Type("");
    Key(Qt::Key_Return);
    EXPECT_TRUE(validations_.empty());
}

TEST_F(SpinEditTest, ChangedMarkIsTheOwnersToClear) {
    Type("1");
    Key(Qt::Key_Return);
    EXPECT_TRUE(edit_->GetChangedVal());  // confirming does not clear it
    edit_->SetChangedVal(false);
    EXPECT_FALSE(edit_->GetChangedVal());
    EXPECT_FALSE(edit_->LineEdit()->font().bold());
    edit_->SetChangedVal(true);
    EXPECT_TRUE(edit_->LineEdit()->font().bold());
}

TEST_F(SpinEditTest, NotANumberBlanksTheEdit) {
    edit_->SetUnits(EUnits::Frequency);
    edit_->SetValue(2e6);
    edit_->SetValue(kNaN);
    EXPECT_TRUE(std::isnan(edit_->GetValue()));
    EXPECT_EQ(edit_->LineEdit()->text(), "");
    EXPECT_EQ(edit_->GetText(), "");
    EXPECT_EQ(edit_->GetCurentUnit(), "МГц");  // the unit stays as it was
    ASSERT_EQ(changes_.size(), 2u);
    EXPECT_TRUE(std::isnan(changes_.back()));
}

TEST_F(SpinEditTest, OutOfRangeIsShownAndKept) {
    edit_->SetMinValue(-130);
    edit_->SetMaxValue(35);
    const QColor normal = edit_->LineEdit()->palette().color(QPalette::Text);
    edit_->SetValue(200);
    EXPECT_EQ(edit_->GetValue(), 200.0);
    EXPECT_TRUE(edit_->IsOutOfRange());
    EXPECT_EQ(edit_->LineEdit()->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_NE(normal, QColor(Qt::red));
    Type("-131");
    Key(Qt::Key_Return);
    EXPECT_EQ(validations_, std::vector<double>{-131.0});  // the owner judges the range
    EXPECT_TRUE(edit_->IsOutOfRange());
    edit_->SetValue(0);
    EXPECT_EQ(edit_->LineEdit()->palette().color(QPalette::Text), normal);
    // Back in range, a disabled edit is as grey as any disabled text.
    EXPECT_EQ(edit_->LineEdit()->palette().color(QPalette::Disabled, QPalette::Text),
              edit_->palette().color(QPalette::Disabled, QPalette::Text));
    // Equal limits mean no range.
    edit_->SetMinValue(0);
    edit_->SetMaxValue(0);
    edit_->SetValue(1e9);
    EXPECT_FALSE(edit_->IsOutOfRange());
}

TEST_F(SpinEditTest, ArrowKeysStepLinearlyAndConfirm) {
    edit_->SetUnits(EUnits::Frequency);
    edit_->SetIncrement(1e6);
    edit_->SetValue(1e9);
    Forget();
    Key(Qt::Key_Up);
    EXPECT_EQ(edit_->GetValue(), 1.001e9);
    EXPECT_EQ(changes_, std::vector<double>{1.001e9});
    EXPECT_EQ(validations_, std::vector<double>{1.001e9});
    EXPECT_TRUE(edit_->GetChangedVal());
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(edit_->GetValue(), 0.999e9);
    EXPECT_EQ(edit_->GetText(), "999");
    EXPECT_EQ(edit_->GetCurentUnit(), "МГц");
    Key(Qt::Key_PageUp);
    EXPECT_EQ(edit_->GetValue(), 1.009e9);
}

TEST_F(SpinEditTest, DecimalStepsMoveTheChosenDigit) {
    edit_->SetUnits(EUnits::Time);
    edit_->SetIncrement(0.5);  // not used by this kind
    edit_->SetIncType(true);
    edit_->SetIncPow(-6);
    edit_->SetValue(0.000255);
    Key(Qt::Key_Down);
    EXPECT_DOUBLE_EQ(edit_->GetValue(), 0.000254);
    EXPECT_EQ(edit_->GetText(), "254");
    EXPECT_EQ(edit_->GetCurentUnit(), "мкс");
}

TEST_F(SpinEditTest, SteppingStopsAtTheLimits) {
    edit_->SetMinValue(-130);
    edit_->SetMaxValue(35);
    edit_->SetValue(34.5);
    Forget();
    Key(Qt::Key_Up);
    EXPECT_EQ(edit_->GetValue(), 35.0);
    Key(Qt::Key_Up);  // at the limit: nothing happens, nothing is reported
    EXPECT_EQ(edit_->GetValue(), 35.0);
    EXPECT_EQ(changes_.size(), 1u);
    EXPECT_EQ(validations_.size(), 1u);
}

TEST_F(SpinEditTest, WheelStepsOnlyWithTheFocus) {
    edit_->SetValue(10);
    Forget();
    EXPECT_TRUE(Wheel(120));
    EXPECT_EQ(edit_->GetValue(), 11.0);
    EXPECT_TRUE(Wheel(-240));
    EXPECT_EQ(edit_->GetValue(), 9.0);
    // Fine-grained wheels add up to whole notches.
    EXPECT_TRUE(Wheel(60));
    EXPECT_EQ(edit_->GetValue(), 9.0);
    EXPECT_TRUE(Wheel(60));
    EXPECT_EQ(edit_->GetValue(), 10.0);
    EXPECT_EQ(validations_.size(), 3u);

    Focus(other_);
    Forget();
    EXPECT_FALSE(Wheel(120));  // left to the scrolling column
    EXPECT_EQ(edit_->GetValue(), 10.0);
    EXPECT_TRUE(changes_.empty());
}

TEST_F(SpinEditTest, DisabledEditDoesNotStep) {
    edit_->SetValue(10);
    edit_->setEnabled(false);
    Forget();
    Key(Qt::Key_Up);
    EXPECT_EQ(edit_->GetValue(), 10.0);
    EXPECT_TRUE(changes_.empty());
}

TEST_F(SpinEditTest, TypedNumbersAreInTheUnitShownUnlessTheyNameOne) {
    edit_->SetUnits(EUnits::Frequency);
    edit_->SetValue(1.5e9);
    EXPECT_EQ(edit_->GetText(), "1.5");
    EXPECT_EQ(edit_->GetCurentUnit(), "ГГц");
    Type("2");
    EXPECT_EQ(edit_->GetValue(), 2e9);
    Type("1500 МГц");
    EXPECT_EQ(edit_->GetValue(), 1.5e9);
    Type("1,25 k");
    EXPECT_EQ(edit_->GetValue(), 1250.0);
    Key(Qt::Key_Return);
    // Confirmed entries are shown again in the unit that suits them.
    EXPECT_EQ(edit_->LineEdit()->text(), "1.25");
    EXPECT_EQ(edit_->GetCurentUnit(), "кГц");
}

TEST_F(SpinEditTest, UnitBoxRescalesOrNamesTheTypedUnit) {
    edit_->SetUnits(EUnits::Frequency);
    edit_->SetValue(2.5e9);
    auto* box = edit_->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->currentText(), "ГГц");
    Forget();
    std::vector<int> picked;
    edit_->OnUnitChange = [&picked](korvel::TKvSpinEdit* sender) { picked.push_back(sender->ShownPower()); };
    // Picking a unit while nothing is typed shows the same value in it.
    box->setCurrentIndex(2);
    emit box->activated(2);
    EXPECT_EQ(picked, std::vector<int>{6});
    EXPECT_EQ(edit_->GetText(), "2500");
    EXPECT_EQ(edit_->GetValue(), 2.5e9);
    EXPECT_TRUE(changes_.empty());
    // Picking a unit after typing a number says what the number is in.
    Type("3");
    box->setCurrentIndex(3);
    emit box->activated(3);
    EXPECT_EQ(edit_->GetValue(), 3e9);
    EXPECT_EQ(changes_.back(), 3e9);
    EXPECT_EQ(edit_->DisplayPower(), 9);
}

TEST_F(SpinEditTest, PropertiesShowAsSet) {
    edit_->SetLabel("Старт:");
    EXPECT_EQ(edit_->Label(), "Старт:");
    edit_->SetUnits(EUnits::Level);
    edit_->SetValue(-10);
    EXPECT_EQ(edit_->GetCurentUnit(), "дБм");
    edit_->SetUnits(EUnits::None);
    EXPECT_EQ(edit_->GetCurentUnit(), "");
    edit_->SetPrecision(3);
    edit_->SetValue(3.14159);
    EXPECT_EQ(edit_->GetText(), "3.14");
    EXPECT_EQ(edit_->GetValue(), 3.14159);  // the value keeps its digits
    EXPECT_FALSE(edit_->UnitsTabOrder());
    edit_->SetUnitsTabOrder(true);
    EXPECT_TRUE(edit_->UnitsTabOrder());
    edit_->SetUnits(EUnits::Frequency);
    edit_->SetDisplayPower(6);
    edit_->SetValue(1e3);
    EXPECT_EQ(edit_->GetText(), "0.001");
    EXPECT_EQ(edit_->GetCurentUnit(), "МГц");
}

}  // namespace
}  // namespace korvel

namespace korvel {
namespace {

TEST(StepDialog, GivesTheSettingsAsEdited) {
    StepDialog dialog(nullptr, EUnits::Frequency, StepSettings{1e6, false, 6});
    auto* increment = dialog.findChild<TKvSpinEdit*>();
    auto* decimal = dialog.findChild<QCheckBox*>();
    auto* power = dialog.findChild<QSpinBox*>();
    ASSERT_TRUE(increment && decimal && power);
    EXPECT_EQ(increment->GetText(), "1");
    EXPECT_EQ(increment->GetCurentUnit(), "МГц");
    EXPECT_FALSE(power->isEnabled());  // the digit matters only for digit steps

    increment->SetValue(2.5e3);
    StepSettings edited = dialog.Result();
    EXPECT_EQ(edited.increment, 2.5e3);
    EXPECT_FALSE(edited.decimal);

    decimal->setChecked(true);
    power->setValue(3);
    EXPECT_TRUE(power->isEnabled());
    EXPECT_FALSE(increment->isEnabled());
    edited = dialog.Result();
    EXPECT_TRUE(edited.decimal);
    EXPECT_EQ(edited.power, 3);

    // A step that is no positive number keeps the one there was.
    increment->SetValue(std::nan(""));
    EXPECT_EQ(dialog.Result().increment, 1e6);
    increment->SetValue(-5);
    EXPECT_EQ(dialog.Result().increment, 1e6);
}

}  // namespace
}  // namespace korvel

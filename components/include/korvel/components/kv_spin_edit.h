// TKvSpinEdit: a numeric edit holding a value in its base unit, shown with a
// unit and decimal prefix, stepped with the arrow keys and the wheel.
//
// Notifications (both are plain callbacks; set one to nullptr to detach it,
// and nothing fires while it is detached, not even later):
//   OnChange   every change of the value: each edit of the text by the
//              operator, each step, each SetValue (also with the same value).
//   OnUnitChange the operator picked the unit the value is shown in
//              (ShownPower tells which).
//   OnValidate the operator confirmed an entry: Enter (or the keypad Enter,
//              also without a change), leaving the edit after editing its
//              text when the value differs from the remembered one, or a step
//              (a step is a complete entry, like turning a knob). An
//              unreadable or blank text is never confirmed. Values set by the
//              program are never confirmed. A value outside the range is
//              confirmed: the owner judges it.
// Enter is consumed by the edit: it confirms the entry, it does not press a
// dialog's default button.
//
// The changed mark (bold text) is set when the operator edits or steps the
// value and is otherwise only set or cleared by SetChangedVal. A value outside
// [MinValue, MaxValue] (a range is set when MinValue < MaxValue) is shown in
// red and kept as it is; stepping stops at the bounds. Not-a-number shows an
// empty edit.
//
// Typed text: a number with "." or "," as the decimal point and an optional
// unit or bare prefix ("1.5 ГГц", "1500 МГц", "1500M", "10 k", "2 мкс",
// "2us"); without a unit the number is in the unit shown beside the edit.
// Shown text: at most Precision significant digits with the largest prefix
// not above the value, unless a display prefix is fixed (SetDisplayPower, or
// the operator picking a unit in the unit box). Picking a unit while typing
// says what unit the typed number is in; otherwise it only changes the unit
// the value is shown in. A confirmed entry is shown again formatted.
//
// Stepping: Up/Down one step, Page Up/Down ten steps, the wheel one step per
// notch; by the step settings (Increment, IncType, IncPow; see StepSettings).
// The wheel steps only while the edit has the keyboard focus, so scrolling a
// column of edits never changes a value by accident. With step change
// enabled, the edit's context menu offers "Шаг изменения..." to the operator.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "korvel/components/stepping.h"
#include "korvel/components/units.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace korvel {

class TKvSpinEdit : public QWidget {
    Q_OBJECT
public:
    explicit TKvSpinEdit(QWidget* parent = nullptr);
    ~TKvSpinEdit() override;

    // ---- events ----------------------------------------------------------
    std::function<void(TKvSpinEdit* sender)> OnChange;
    std::function<void(TKvSpinEdit* sender)> OnValidate;
    std::function<void(TKvSpinEdit* sender)> OnUnitChange;

    // ---- value -----------------------------------------------------------
    // The value held (base unit); NaN when the edit is blank or its text
    // cannot be read.
    double GetValue() const { return value_; }
    // Sets and shows the value (NaN blanks the edit) and fires OnChange.
    // An unconfirmed text the operator was typing is replaced.
    void SetValue(double value);
    // The number as shown, without its unit ("" when blank or unreadable).
    QString GetText() const;
    // The unit as shown ("МГц"; "" for plain numbers).
    QString GetCurentUnit() const;
    // The decimal exponent of the unit shown (6 for МГц).
    int ShownPower() const { return shownPower_; }

    // The changed mark.
    void SetChangedVal(bool changed);
    bool GetChangedVal() const { return changed_; }

    // Remembers the current value as the one a later entry is compared with
    // (leaving the edit confirms only a value that differs from it). A
    // confirmation remembers the confirmed value; SetValue remembers too.
    void RememberValue();
    double RememberedValue() const { return remembered_; }

    // Whether the value is a number outside the set range.
    bool IsOutOfRange() const;

    // ---- properties ------------------------------------------------------
    double MinValue() const { return minValue_; }
    void SetMinValue(double minValue);
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double maxValue);

    // Step settings: value, kind (false linear, true decimal digit) and
    // decimal exponent; see StepSettings.
    double Increment() const { return step_.increment; }
    void SetIncrement(double increment) { step_.increment = increment; }
    bool IncType() const { return step_.decimal; }
    void SetIncType(bool decimal) { step_.decimal = decimal; }
    int IncPow() const { return step_.power; }
    void SetIncPow(int power) { step_.power = power; }
    const StepSettings& Step() const { return step_; }
    void SetStep(const StepSettings& step) { step_ = step; }
    // Whether the operator may change the step settings (context menu
    // "Шаг изменения..."). Off by default.
    bool StepChangeEnabled() const { return stepChangeEnabled_; }
    void SetStepChangeEnabled(bool enabled) { stepChangeEnabled_ = enabled; }

    // Significant digits shown (1..17, default 12).
    int Precision() const { return precision_; }
    void SetPrecision(int digits);

    EUnits Units() const { return units_; }
    void SetUnits(EUnits units);

    // A fixed unit for showing the value (decimal exponent of one of the
    // family's prefixes), or automatic by magnitude (nullopt, the default).
    std::optional<int> DisplayPower() const { return displayPower_; }
    void SetDisplayPower(std::optional<int> power);

    // Whether the unit box is reached with the Tab key (off by default: Tab
    // goes from number to number).
    bool UnitsTabOrder() const;
    void SetUnitsTabOrder(bool inTabOrder);

    // The caption left of the edit ("" hides it).
    QString Label() const;
    void SetLabel(const QString& text);
    // The caption above the number instead of left of it, for narrow places.
    bool CaptionAbove() const { return captionAbove_; }
    void SetCaptionAbove(bool above);
    // The width the caption, the widest number of Precision digits and the
    // unit need side by side.
    int WidthBeside() const;

    // The text field itself (focus, tests).
    QLineEdit* LineEdit() const { return edit_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceParts();
    void ShowValue();
    void UpdateLook();
    void RebuildUnitBox();
    void Notify(const std::function<void(TKvSpinEdit*)>& handler);
    void OnTextEdited(const QString& text);
    void OnUnitPicked(int index);
    void Confirm();
    void StepBy(int steps);
    void EditStepSettings();

    QGridLayout* layout_ = nullptr;
    QLabel* caption_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QComboBox* unitBox_ = nullptr;
    QLabel* unitLabel_ = nullptr;

    double value_ = 0.0;
    double remembered_ = 0.0;
    double minValue_ = 0.0;
    double maxValue_ = 0.0;
    StepSettings step_{};
    bool stepChangeEnabled_ = false;
    int precision_ = 12;
    EUnits units_ = EUnits::None;
    std::optional<int> displayPower_;
    int shownPower_ = 0;
    bool changed_ = false;
    bool boldShown_ = false;  // the look last pushed to the edit
    bool inkWrong_ = false;
    bool captionAbove_ = false;
    bool typing_ = false;     // the operator edited the text since it was last shown
    int wheelRemainder_ = 0;  // parts of a notch from fine-grained wheels
};

}  // namespace korvel

#include "korvel/components/kv_spin_edit.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>

#include "qt_text.h"
#include "step_dialog.h"
#include "z5r/i18n.h"

namespace korvel {

namespace {

// Equal values, and two NaNs count as equal (both blank).
bool SameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

// One notch of an ordinary mouse wheel.
constexpr int kWheelNotch = 120;
// Page Up/Down move by this many steps.
constexpr int kPageSteps = 10;

}  // namespace

TKvSpinEdit::TKvSpinEdit(QWidget* parent) : QWidget(parent) {
    layout_ = new QGridLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setHorizontalSpacing(4);
    layout_->setVerticalSpacing(2);
    layout_->setColumnStretch(1, 1);

    caption_ = new QLabel(this);
    caption_->hide();
    edit_ = new QLineEdit(this);
    edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Numbers need no shaping; laying out a new value is then much cheaper.
    QFont numberFont = edit_->font();
    numberFont.setStyleStrategy(QFont::PreferNoShaping);
    edit_->setFont(numberFont);
    edit_->setContextMenuPolicy(Qt::CustomContextMenu);
    unitBox_ = new QComboBox(this);
    // Picking a unit must not take the focus from a number being typed.
    unitBox_->setFocusPolicy(Qt::NoFocus);
    unitBox_->hide();
    unitLabel_ = new QLabel(this);
    unitLabel_->hide();

    PlaceParts();
    setFocusProxy(edit_);

    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this, &TKvSpinEdit::OnTextEdited);
    connect(unitBox_, qOverload<int>(&QComboBox::activated), this, &TKvSpinEdit::OnUnitPicked);
    connect(edit_, &QLineEdit::customContextMenuRequested, this, [this](const QPoint& at) {
        std::unique_ptr<QMenu> menu(edit_->createStandardContextMenu());
        if (stepChangeEnabled_) {
            menu->addSeparator();
            menu->addAction(ToQ(z5r::Tr("Шаг изменения...")), this, &TKvSpinEdit::EditStepSettings);
        }
        menu->exec(edit_->mapToGlobal(at));
    });

    RebuildUnitBox();
    ShowValue();
}

TKvSpinEdit::~TKvSpinEdit() = default;

// ---- value ------------------------------------------------------------------

void TKvSpinEdit::SetValue(double value) {
    value_ = value;
    remembered_ = value;
    ShowValue();
    Notify(OnChange);
}

QString TKvSpinEdit::GetText() const {
    return ToQ(FormatValue(value_, units_, precision_, shownPower_).number);
}

QString TKvSpinEdit::GetCurentUnit() const { return ToQ(UnitText(units_, shownPower_)); }

void TKvSpinEdit::SetChangedVal(bool changed) {
    changed_ = changed;
    UpdateLook();
}

void TKvSpinEdit::RememberValue() { remembered_ = value_; }

bool TKvSpinEdit::IsOutOfRange() const {
    if (std::isnan(value_) || !(minValue_ < maxValue_)) return false;
    return value_ < minValue_ || value_ > maxValue_;
}

// ---- properties ---------------------------------------------------------------

void TKvSpinEdit::SetMinValue(double minValue) {
    minValue_ = minValue;
    UpdateLook();
}

void TKvSpinEdit::SetMaxValue(double maxValue) {
    maxValue_ = maxValue;
    UpdateLook();
}

void TKvSpinEdit::SetPrecision(int digits) {
    precision_ = std::clamp(digits, 1, 17);
    if (!typing_) ShowValue();
}

void TKvSpinEdit::SetUnits(EUnits units) {
    units_ = units;
    if (displayPower_ && UnitText(units_, *displayPower_).empty()) displayPower_.reset();
    shownPower_ = displayPower_.value_or(0);
    RebuildUnitBox();
    ShowValue();
}

void TKvSpinEdit::SetDisplayPower(std::optional<int> power) {
    const auto& choices = UnitChoices(units_);
    const bool known = power && std::any_of(choices.begin(), choices.end(),
                                            [&](const UnitChoice& c) { return c.power == *power; });
    displayPower_ = known ? power : std::nullopt;
    if (!typing_) ShowValue();
}

bool TKvSpinEdit::UnitsTabOrder() const { return unitBox_->focusPolicy() != Qt::NoFocus; }

void TKvSpinEdit::SetUnitsTabOrder(bool inTabOrder) {
    unitBox_->setFocusPolicy(inTabOrder ? Qt::StrongFocus : Qt::NoFocus);
}

QString TKvSpinEdit::Label() const { return caption_->text(); }

void TKvSpinEdit::SetLabel(const QString& text) {
    caption_->setText(text);
    caption_->setVisible(!text.isEmpty());
}

void TKvSpinEdit::SetCaptionAbove(bool above) {
    if (above == captionAbove_) return;
    captionAbove_ = above;
    PlaceParts();
}

void TKvSpinEdit::PlaceParts() {
    for (QWidget* part : {static_cast<QWidget*>(caption_), static_cast<QWidget*>(edit_),
                          static_cast<QWidget*>(unitBox_), static_cast<QWidget*>(unitLabel_)}) {
        layout_->removeWidget(part);
    }
    const int row = captionAbove_ ? 1 : 0;
    if (captionAbove_) {
        layout_->addWidget(caption_, 0, 1, 1, 3);
    } else {
        layout_->addWidget(caption_, 0, 0);
    }
    layout_->addWidget(edit_, row, 1);
    layout_->addWidget(unitBox_, row, 2);
    layout_->addWidget(unitLabel_, row, 3);
}

int TKvSpinEdit::WidthBeside() const {
    const int spacing = layout_->horizontalSpacing();
    // Sign and decimal point besides the digits; the frame and margins are
    // what the line edit adds to its widest character.
    const QString widest(precision_ + 2, QLatin1Char('0'));
    const QFontMetrics metrics = edit_->fontMetrics();
    int width = metrics.horizontalAdvance(widest) + edit_->minimumSizeHint().width() - metrics.maxWidth();
    if (!caption_->isHidden()) width += caption_->sizeHint().width() + spacing;
    if (!unitBox_->isHidden()) {
        width += unitBox_->sizeHint().width() + spacing;
    } else if (!unitLabel_->isHidden()) {
        width += unitLabel_->sizeHint().width() + spacing;
    }
    return width;
}

// ---- showing ------------------------------------------------------------------

void TKvSpinEdit::ShowValue() {
    // A blank edit keeps the unit it showed last, unless one is fixed.
    std::optional<int> power = displayPower_;
    if (!power && std::isnan(value_)) power = shownPower_;
    const FormattedValue shown = FormatValue(value_, units_, precision_, power);
    shownPower_ = shown.power;
    // The same text again would only redo the edit's text layout.
    const QString text = ToQ(shown.number);
    if (edit_->text() != text) edit_->setText(text);
    typing_ = false;

    const auto& choices = UnitChoices(units_);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const int index = static_cast<int>(i);
        if (choices[i].power == shownPower_ && unitBox_->currentIndex() != index) unitBox_->setCurrentIndex(index);
    }
    unitLabel_->setText(ToQ(shown.unit));
    UpdateLook();
}

void TKvSpinEdit::UpdateLook() {
    // Setting a font or palette re-polishes and re-lays out the edit even when
    // nothing differs, so only a change of look is pushed.
    if (boldShown_ != changed_) {
        QFont font = edit_->font();
        font.setBold(changed_);
        edit_->setFont(font);
        boldShown_ = changed_;
    }

    const bool unreadable = typing_ && std::isnan(value_) && !edit_->text().trimmed().isEmpty();
    const bool wrong = IsOutOfRange() || unreadable;
    if (wrong != inkWrong_) {
        // Each state keeps its own ink when the value is right: a disabled
        // edit stays grey.
        QPalette palette = edit_->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Text,
                             wrong ? QColor(Qt::red) : this->palette().color(group, QPalette::Text));
        }
        edit_->setPalette(palette);
        inkWrong_ = wrong;
    }
}

void TKvSpinEdit::RebuildUnitBox() {
    unitBox_->clear();
    const auto& choices = UnitChoices(units_);
    for (const auto& choice : choices) unitBox_->addItem(ToQ(UnitText(units_, choice.power)));
    // Families with one unit show it as a plain caption; plain numbers show none.
    unitBox_->setVisible(choices.size() > 1);
    unitLabel_->setVisible(choices.size() == 1 && units_ != EUnits::None);
}

// ---- operator input -------------------------------------------------------------

void TKvSpinEdit::Notify(const std::function<void(TKvSpinEdit*)>& handler) {
    // A copy: the handler may detach or replace itself while it runs.
    const auto call = handler;
    if (call) call(this);
}

void TKvSpinEdit::OnTextEdited(const QString& text) {
    value_ = ParseValue(text.toStdString(), units_, shownPower_);
    typing_ = true;
    changed_ = true;
    UpdateLook();
    Notify(OnChange);
}

void TKvSpinEdit::OnUnitPicked(int index) {
    const auto& choices = UnitChoices(units_);
    if (index < 0 || static_cast<std::size_t>(index) >= choices.size()) return;
    displayPower_ = choices[static_cast<std::size_t>(index)].power;
    shownPower_ = *displayPower_;
    Notify(OnUnitChange);
    if (typing_) {
        // The unit of the number being typed.
        unitLabel_->setText(GetCurentUnit());
        OnTextEdited(edit_->text());
    } else {
        ShowValue();
    }
}

void TKvSpinEdit::Confirm() {
    // Only a number can be confirmed; the text stays for the operator to fix.
    if (std::isnan(value_)) return;
    remembered_ = value_;
    ShowValue();
    Notify(OnValidate);
}

void TKvSpinEdit::StepBy(int steps) {
    if (!isEnabled() || edit_->isReadOnly()) return;
    const double stepped = StepValue(value_, step_, steps, minValue_, maxValue_);
    if (SameValue(stepped, value_)) return;
    value_ = stepped;
    changed_ = true;
    ShowValue();
    Notify(OnChange);
    remembered_ = value_;
    Notify(OnValidate);
}

void TKvSpinEdit::EditStepSettings() {
    StepDialog dialog(this, units_, step_);
    if (dialog.exec() == QDialog::Accepted) step_ = dialog.Result();
}

bool TKvSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            switch (key->key()) {
                case Qt::Key_Up:
                    StepBy(1);
                    return true;
                case Qt::Key_Down:
                    StepBy(-1);
                    return true;
                case Qt::Key_PageUp:
                    StepBy(kPageSteps);
                    return true;
                case Qt::Key_PageDown:
                    StepBy(-kPageSteps);
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    Confirm();
                    return true;
                default:
                    break;
            }
            break;
        }
        case QEvent::ShortcutOverride: {
            // Enter belongs to the edit, not to a dialog's default button.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) key->accept();
            break;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (!edit_->hasFocus()) return false;  // the column scrolls instead
            wheelRemainder_ += wheel->angleDelta().y();
            const int steps = wheelRemainder_ / kWheelNotch;
            wheelRemainder_ -= steps * kWheelNotch;
            if (steps != 0) StepBy(steps);
            wheel->accept();
            return true;
        }
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A menu or another window taking the focus is not leaving the edit.
            if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) break;
            if (typing_ && !std::isnan(value_)) {
                if (SameValue(value_, remembered_))
                    ShowValue();
                else
                    Confirm();
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace korvel

#include "step_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

#include "korvel/components/kv_spin_edit.h"
#include "qt_text.h"
#include "z5r/i18n.h"

namespace korvel {

StepDialog::StepDialog(QWidget* parent, EUnits units, const StepSettings& step)
    : QDialog(parent), initial_(step) {
    setWindowTitle(ToQ(z5r::Tr("Шаг изменения")));
    auto* form = new QFormLayout(this);

    increment_ = new TKvSpinEdit(this);
    increment_->SetUnits(units);
    increment_->SetValue(std::fabs(step.increment));
    form->addRow(ToQ(z5r::Tr("Шаг:")), increment_);

    decimal_ = new QCheckBox(ToQ(z5r::Tr("Шаг по разряду")), this);
    decimal_->setChecked(step.decimal);
    form->addRow(decimal_);

    power_ = new QSpinBox(this);
    power_->setRange(-18, 18);
    power_->setValue(step.power);
    form->addRow(ToQ(z5r::Tr("Разряд (степень 10):")), power_);

    // The digit only matters for stepping by digit.
    power_->setEnabled(step.decimal);
    increment_->setEnabled(!step.decimal);
    connect(decimal_, &QCheckBox::toggled, this, [this](bool on) {
        power_->setEnabled(on);
        increment_->setEnabled(!on);
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ToQ(z5r::Tr("ОК")));
    buttons->button(QDialogButtonBox::Cancel)->setText(ToQ(z5r::Tr("Отмена")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

StepSettings StepDialog::Result() const {
    StepSettings step = initial_;
    const double typed = increment_->GetValue();
    if (std::isfinite(typed) && typed > 0) step.increment = typed;
    step.decimal = decimal_->isChecked();
    step.power = power_->value();
    return step;
}

}  // namespace korvel

// The small dialog in which an operator changes an edit's step settings.
#pragma once

#include <QDialog>

#include "korvel/components/stepping.h"
#include "korvel/components/units.h"

class QCheckBox;
class QSpinBox;

namespace korvel {

class TKvSpinEdit;

class StepDialog : public QDialog {
    Q_OBJECT
public:
    StepDialog(QWidget* parent, EUnits units, const StepSettings& step);
    // The settings as edited (the step value as typed, when it is a number).
    StepSettings Result() const;

private:
    TKvSpinEdit* increment_ = nullptr;
    QCheckBox* decimal_ = nullptr;
    QSpinBox* power_ = nullptr;
    StepSettings initial_;
};

}  // namespace korvel

// A numeric edit coloured red while its value is too short for what it must
// hold, white otherwise.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPalette>

#include "korvel/components/kv_spin_edit.h"

namespace z5r {

inline void ShowTooShort(korvel::TKvSpinEdit& edit, bool tooShort) {
    QPalette palette = edit.LineEdit()->palette();
    palette.setColor(QPalette::Base, tooShort ? QColor(Qt::red) : QColor(Qt::white));
    edit.LineEdit()->setPalette(palette);
}

}  // namespace z5r

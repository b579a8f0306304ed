// TKvLabel: a large numeric readout. The value is shown in its base unit with
// its digits in groups of three; Order is the number of groups the integer
// part is padded to (leading groups shown dimmed as zeros), OrderAC the number
// of digits after the decimal point. With ShowSignatures each group of a
// prefixed family carries its unit beneath it (ГГц МГц кГц Гц), otherwise the
// unit follows the number.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "korvel/components/units.h"

namespace korvel {

// The digits a readout shows, grouped: plain logic, tested on its own.
struct ReadoutText {
    QString padding;  // dimmed leading zeros and blanks ("000 ")
    QString digits;   // the significant part ("-1 500 000 000.00")
    bool isNumber = false;
};
ReadoutText FormatReadout(double value, int order, int orderAC);

// A colour given as the number 0x00BBGGRR (blue in the high byte).
QColor ColorFromBgr(std::uint32_t bgr);

class TKvLabel : public QWidget {
    Q_OBJECT
public:
    explicit TKvLabel(QWidget* parent = nullptr);

    void SetValue(double value);
    double Value() const { return value_; }
    // What the readout shows: digits with separators, no padding ("---" for
    // not-a-number).
    QString Text() const;

    EUnits Units() const { return units_; }
    void SetUnits(EUnits units);
    QString Label() const { return label_; }
    void SetLabel(const QString& label);
    int Order() const { return order_; }
    void SetOrder(int groups);
    int OrderAC() const { return orderAC_; }
    void SetOrderAC(int digits);
    bool ShowSignatures() const { return showSignatures_; }
    void SetShowSignatures(bool show);
    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    double value_ = 0.0;
    EUnits units_ = EUnits::None;
    QString label_;
    int order_ = 1;
    int orderAC_ = 0;
    bool showSignatures_ = false;
    QColor borderColor_{Qt::gray};
};

}  // namespace korvel

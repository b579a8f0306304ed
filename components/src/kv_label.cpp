#include "korvel/components/kv_label.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "korvel/components/text_number.h"
#include "qt_text.h"

namespace korvel {

namespace {

constexpr int kMargin = 4;
constexpr double kDigitScale = 2.0;  // the number's font against the widget's
constexpr double kSignatureScale = 0.75;

QFont Scaled(const QFont& base, double factor) {
    QFont font = base;
    if (base.pointSizeF() > 0) {
        font.setPointSizeF(std::max(1.0, base.pointSizeF() * factor));
    } else {
        font.setPixelSize(std::max(1, static_cast<int>(base.pixelSize() * factor)));
    }
    return font;
}

// The groups of a readout text as they stand, and the decimal exponent of
// the unit each group carries: "1 500.25" gives {"1", 3}, {"500", 0}, {"25", -3}.
struct Group {
    int start = 0;
    int length = 0;
    int power = 0;
};

std::vector<Group> Groups(const QString& text) {
    std::vector<Group> groups;
    const int point = text.indexOf('.');
    const int intEnd = point < 0 ? static_cast<int>(text.size()) : point;
    int start = -1;
    for (int i = 0; i <= intEnd; ++i) {
        const bool digit = i < intEnd && text[i].isDigit();
        if (digit && start < 0) start = i;
        if (!digit && start >= 0) {
            groups.push_back({start, i - start, 0});
            start = -1;
        }
    }
    for (std::size_t k = 0; k < groups.size(); ++k) {
        groups[k].power = 3 * static_cast<int>(groups.size() - 1 - k);
    }
    if (point >= 0) {
        int power = -3;
        for (int i = point + 1; i < text.size();) {
            while (i < text.size() && !text[i].isDigit()) ++i;
            const int begin = i;
            while (i < text.size() && text[i].isDigit()) ++i;
            if (i > begin) groups.push_back({begin, i - begin, power});
            power -= 3;
        }
    }
    return groups;
}

}  // namespace

ReadoutText FormatReadout(double value, int order, int orderAC) {
    ReadoutText result;
    if (!std::isfinite(value)) {
        result.digits = QStringLiteral("---");
        return result;
    }
    order = std::clamp(order, 1, 8);
    orderAC = std::clamp(orderAC, 0, 12);
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", orderAC, std::fabs(value));
    std::string plain = buffer;
    const auto point = plain.find('.');
    const std::size_t intDigits = point == std::string::npos ? plain.size() : point;
    // -0.00 shows without its sign.
    const bool negative = value < 0 && plain.find_first_not_of("0.") != std::string::npos;

    const std::size_t capacity = static_cast<std::size_t>(order) * 3;
    const std::size_t missing = intDigits < capacity ? capacity - intDigits : 0;
    const std::string padded = AddSep(std::string(missing, '0') + plain, false);
    // The padding is every character up to the first digit that belongs to
    // the number; the separators move along with the digits they follow.
    std::size_t seen = 0;
    std::size_t split = 0;
    while (split < padded.size() && seen < missing) {
        if (padded[split] >= '0' && padded[split] <= '9') ++seen;
        ++split;
    }
    while (split < padded.size() && padded[split] == ' ') ++split;
    QString padding = ToQ(padded.substr(0, split));
    // Negative numbers are padded with blanks: zeros before a sign read wrong.
    if (negative) padding.fill(' ');
    result.padding = padding;
    result.digits = ToQ((negative ? "-" : "") + padded.substr(split));
    result.isNumber = true;
    return result;
}

QColor ColorFromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

TKvLabel::TKvLabel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TKvLabel::SetValue(double value) {
    value_ = value;
    update();
}

QString TKvLabel::Text() const { return FormatReadout(value_, order_, orderAC_).digits; }

void TKvLabel::SetUnits(EUnits units) {
    units_ = units;
    updateGeometry();
    update();
}

void TKvLabel::SetLabel(const QString& label) {
    label_ = label;
    updateGeometry();
    update();
}

void TKvLabel::SetOrder(int groups) {
    order_ = std::clamp(groups, 1, 8);
    updateGeometry();
    update();
}

void TKvLabel::SetOrderAC(int digits) {
    orderAC_ = std::clamp(digits, 0, 12);
    updateGeometry();
    update();
}

void TKvLabel::SetShowSignatures(bool show) {
    showSignatures_ = show;
    updateGeometry();
    update();
}

void TKvLabel::SetBorderColor(const QColor& color) {
    borderColor_ = color;
    update();
}

QSize TKvLabel::sizeHint() const {
    const QFontMetrics captionMetrics(font());
    const QFontMetrics digitMetrics(Scaled(font(), kDigitScale));
    const QFontMetrics signatureMetrics(Scaled(font(), kSignatureScale));
    // Room for the full capacity and a sign.
    const ReadoutText widest = FormatReadout(-std::pow(10.0, order_ * 3) + 1, order_, orderAC_);
    int width = 2 * kMargin + digitMetrics.horizontalAdvance(widest.padding + widest.digits);
    if (!label_.isEmpty()) width += captionMetrics.horizontalAdvance(label_) + kMargin;
    const QString unit = ToQ(UnitText(units_, 0));
    if (!showSignatures_ && !unit.isEmpty()) {
        width += kMargin + captionMetrics.horizontalAdvance(unit);
    }
    int height = 2 * kMargin + digitMetrics.height();
    if (showSignatures_) height += signatureMetrics.height();
    return {width, height};
}

QSize TKvLabel::minimumSizeHint() const { return {0, sizeHint().height()}; }

void TKvLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) updateGeometry();
    QWidget::changeEvent(event);
}

void TKvLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(borderColor_);
    painter.drawRect(frame);

    const auto group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor textColor = palette().color(group, QPalette::WindowText);
    const QFont digitFont = Scaled(font(), kDigitScale);
    const QFont signatureFont = Scaled(font(), kSignatureScale);
    const QFontMetrics digitMetrics(digitFont);
    const QFontMetrics captionMetrics(font());
    const QFontMetrics signatureMetrics(signatureFont);
    const int digitTop = kMargin;
    const int baseline = digitTop + digitMetrics.ascent();

    int left = kMargin;
    if (!label_.isEmpty()) {
        painter.setPen(textColor);
        painter.setFont(font());
        painter.drawText(left, baseline, label_);
        left += captionMetrics.horizontalAdvance(label_) + kMargin;
    }
    int right = width() - kMargin;
    const QString unit = ToQ(UnitText(units_, 0));
    if (!showSignatures_ && !unit.isEmpty()) {
        painter.setFont(font());
        painter.setPen(textColor);
        const int unitWidth = captionMetrics.horizontalAdvance(unit);
        painter.drawText(right - unitWidth, baseline, unit);
        right -= unitWidth + kMargin;
    }

    const ReadoutText readout = FormatReadout(value_, order_, orderAC_);
    const QString full = readout.padding + readout.digits;
    const int textLeft = std::max(left, right - digitMetrics.horizontalAdvance(full));
    painter.setFont(digitFont);
    QColor dim = textColor;
    dim.setAlpha(60);
    painter.setPen(dim);
    painter.drawText(textLeft, baseline, readout.padding);
    painter.setPen(textColor);
    painter.drawText(textLeft + digitMetrics.horizontalAdvance(readout.padding), baseline,
                     readout.digits);

    if (!showSignatures_ || !readout.isNumber) return;
    painter.setFont(signatureFont);
    painter.setPen(textColor);
    const int signatureBaseline = digitTop + digitMetrics.height() + signatureMetrics.ascent();
    for (const Group& g : Groups(full)) {
        const QString signature = ToQ(UnitText(units_, g.power));
        if (signature.isEmpty()) continue;
        const int x0 = textLeft + digitMetrics.horizontalAdvance(full.left(g.start));
        const int x1 = textLeft + digitMetrics.horizontalAdvance(full.left(g.start + g.length));
        const int w = signatureMetrics.horizontalAdvance(signature);
        painter.drawText((x0 + x1 - w) / 2, signatureBaseline, signature);
    }
}

}  // namespace korvel

#include "korvel/components/kv_indicator.h"

#include <QPaintEvent>
#include <QPainter>

namespace korvel {

namespace {
constexpr int kGap = 6;
}

TKvIndicator::TKvIndicator(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

void TKvIndicator::SetCaption(const QString& caption) {
    caption_ = caption;
    updateGeometry();
    update();
}

void TKvIndicator::SetOnColor(const QColor& color) {
    onColor_ = color;
    update();
}

void TKvIndicator::SetOffColor(const QColor& color) {
    offColor_ = color;
    update();
}

void TKvIndicator::SetActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    update();
}

QSize TKvIndicator::sizeHint() const {
    const QFontMetrics metrics(font());
    const int lamp = metrics.height();
    const int text = caption_.isEmpty() ? 0 : kGap + metrics.horizontalAdvance(caption_);
    return {lamp + text + 2, lamp + 4};
}

QSize TKvIndicator::minimumSizeHint() const { return sizeHint(); }

void TKvIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const int lamp = metrics.height();
    const QRectF lampRect(1, (height() - lamp) / 2.0, lamp, lamp);
    QColor color = LampColor();
    if (!isEnabled()) color = color.lighter(130);
    painter.setPen(QPen(color.darker(160), 1));
    painter.setBrush(color);
    painter.drawEllipse(lampRect);
    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        const QRect textRect(lamp + 1 + kGap, 0, width() - lamp - 1 - kGap, height());
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, caption_);
    }
}

}  // namespace korvel

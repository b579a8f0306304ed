#include "window_images.h"

#include <QPainter>
#include <QPixmapCache>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <functional>

#include "core/profile_enums.h"

namespace z5r {

namespace {

constexpr int kImageSize = 24;
const QColor kInk(30, 60, 140);
const QColor kMuted(150, 150, 150);
const QColor kRadiating(210, 40, 30);
const QColor kGood(30, 140, 60);

using Drawing = std::function<void(QPainter&)>;

QPixmap Draw(const QColor& ink, const Drawing& drawing) {
    QPixmap picture(kImageSize, kImageSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    drawing(painter);
    return picture;
}

// The axes every sweep picture stands on.
void Axes(QPainter& p) {
    const QPen pen = p.pen();
    p.setPen(QPen(kMuted, 1.0));
    p.drawLine(QPointF(3, 21), QPointF(21, 21));
    p.drawLine(QPointF(3, 21), QPointF(3, 3));
    p.setPen(pen);
}

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    for (const double side : {2.6, -2.6}) {
        p.drawLine(to, to - QPointF(5 * std::cos(angle + side / 6), 5 * std::sin(angle + side / 6)));
    }
}

void Wave(QPainter& p, double amplitude) {
    QPainterPath path(QPointF(2, 12));
    for (int x = 2; x <= 22; ++x) path.lineTo(x, 12 - amplitude * std::sin((x - 2) * 3.14159 / 5));
    p.drawPath(path);
}

Drawing ModeDrawing(int mode) {
    switch (mode) {
        case omFixed:
            return [](QPainter& p) {
                Axes(p);
                p.drawLine(QPointF(5, 11), QPointF(20, 11));
            };
        case omFrequencySweep:
            return [](QPainter& p) {
                Axes(p);
                p.drawPolyline(QPolygonF({{5, 19}, {12, 6}, {12, 19}, {19, 6}}));
            };
        case omPowerSweep:
            return [](QPainter& p) {
                Axes(p);
                for (int i = 0; i < 4; ++i) p.drawLine(QPointF(6 + 4 * i, 19), QPointF(6 + 4 * i, 15 - 3 * i));
            };
        case omFrequencyPowerSweep:
            return [](QPainter& p) {
                Axes(p);
                p.drawPolyline(QPolygonF({{5, 19}, {11, 12}, {11, 19}, {19, 5}}));
            };
        case omListSweep:
        default:
            return [](QPainter& p) {
                for (int i = 0; i < 4; ++i) {
                    p.drawPoint(QPointF(5, 5 + 5 * i));
                    p.drawLine(QPointF(9, 5 + 5 * i), QPointF(20, 5 + 5 * i));
                }
            };
    }
}

Drawing TriggerDrawing(int trigger) {
    switch (trigger) {
        case tmAuto:
            return [](QPainter& p) {
                p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
                Arrow(p, QPointF(14, 3), QPointF(17, 6));
            };
        case tmExternal:
            return [](QPainter& p) {
                p.drawEllipse(QRectF(13, 7, 10, 10));
                p.drawPoint(QPointF(18, 12));
                Arrow(p, QPointF(2, 12), QPointF(11, 12));
            };
        case tmManual:
        default:
            return [](QPainter& p) {
                p.drawRoundedRect(QRectF(4, 13, 16, 7), 2, 2);
                Arrow(p, QPointF(12, 2), QPointF(12, 11));
            };
    }
}

Drawing ToolDrawing(EToolImage index) {
    switch (index) {
        case tiConnect:
            return [](QPainter& p) {
                p.drawLine(QPointF(2, 12), QPointF(9, 12));
                p.drawRect(QRectF(9, 7, 6, 10));
                p.drawLine(QPointF(15, 9), QPointF(21, 9));
                p.drawLine(QPointF(15, 15), QPointF(21, 15));
            };
        case tiDisconnect:
            return [](QPainter& p) {
                p.drawLine(QPointF(2, 12), QPointF(7, 12));
                p.drawRect(QRectF(7, 7, 5, 10));
                p.drawLine(QPointF(16, 9), QPointF(22, 9));
                p.drawLine(QPointF(16, 15), QPointF(22, 15));
                p.drawLine(QPointF(13, 4), QPointF(15, 20));
            };
        case tiHandStep:
            return [](QPainter& p) {
                p.drawPolygon(QPolygonF({{5, 5}, {15, 12}, {5, 19}}));
                p.drawLine(QPointF(19, 5), QPointF(19, 19));
            };
        case tiRfOn:
        case tiRfOff:
        default:
            return [](QPainter& p) { Wave(p, 7); };
    }
}

QColor ToolInk(EToolImage index) {
    switch (index) {
        case tiConnect: return kGood;
        case tiRfOn: return kRadiating;
        case tiRfOff: return kMuted;
        default: return kInk;
    }
}

QPixmap DrawStateImage(int index) {
    const int modeCount = static_cast<int>(kOperatingModeItems.size());
    if (index >= kStateImageFirstMode && index < kStateImageFirstMode + modeCount) {
        return Draw(kInk, ModeDrawing(index - kStateImageFirstMode));
    }
    if (index >= kStateImageFirstTrigger && index < kStateImageCount) {
        return Draw(kInk, TriggerDrawing(index - kStateImageFirstTrigger));
    }
    QPixmap none(kImageSize, kImageSize);
    none.fill(Qt::transparent);
    return none;
}

}  // namespace

QPixmap StateImage(int index) {
    // The images never change, so each is drawn once and kept in Qt's cache.
    const QString key = QStringLiteral("z5r-state-%1").arg(index);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) return cached;
    cached = DrawStateImage(index);
    QPixmapCache::insert(key, cached);
    return cached;
}

QIcon ToolImage(EToolImage index) {
    QIcon icon(Draw(ToolInk(index), ToolDrawing(index)));
    return icon;
}

QIcon SweepTypeImage(int sweepType) {
    const Drawing drawing = [sweepType](QPainter& p) {
        Axes(p);
        if (sweepType == stLog) {
            QPainterPath path(QPointF(5, 19));
            path.cubicTo(QPointF(7, 8), QPointF(11, 5), QPointF(20, 4));
            p.drawPath(path);
        } else {
            p.drawLine(QPointF(5, 19), QPointF(20, 5));
        }
    };
    QIcon icon;
    icon.addPixmap(Draw(kMuted, drawing), QIcon::Normal, QIcon::Off);
    icon.addPixmap(Draw(kInk, drawing), QIcon::Normal, QIcon::On);
    return icon;
}

}  // namespace z5r

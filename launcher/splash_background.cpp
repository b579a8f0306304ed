#include "splash_background.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace z5r {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A decaying sine sweep across the lower half, the instrument's own signal.
QPainterPath SweepTrace(int width, int height, double cycles, double phase) {
    QPainterPath trace;
    const double middle = height * 0.62;
    for (int x = 0; x <= width; ++x) {
        const double t = static_cast<double>(x) / width;
        const double y = middle + height * 0.16 * (1.0 - 0.6 * t) * std::sin(phase + 2 * kPi * cycles * t * (1 + t));
        if (x == 0) trace.moveTo(x, y); else trace.lineTo(x, y);
    }
    return trace;
}

}  // namespace

QImage BuiltInBackground() {
    QImage image(kSplashWidth, kSplashHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, kSplashWidth, kSplashHeight);
    sky.setColorAt(0.0, QColor(12, 34, 64));
    sky.setColorAt(1.0, QColor(20, 92, 128));
    painter.fillRect(image.rect(), sky);

    // A faint measuring grid.
    painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
    constexpr int kGridStep = 25;
    for (int x = 0; x < kSplashWidth; x += kGridStep) painter.drawLine(x, 0, x, kSplashHeight);
    for (int y = 0; y < kSplashHeight; y += kGridStep) painter.drawLine(0, y, kSplashWidth, y);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(90, 200, 255, 90), 6));
    painter.drawPath(SweepTrace(kSplashWidth, kSplashHeight, 3.0, 0.0));
    painter.setPen(QPen(QColor(160, 230, 255), 2));
    painter.drawPath(SweepTrace(kSplashWidth, kSplashHeight, 3.0, 0.0));
    painter.setPen(QPen(QColor(255, 190, 80, 140), 1.5));
    painter.drawPath(SweepTrace(kSplashWidth, kSplashHeight, 5.0, kPi / 2));
    return image;
}

QImage LoadBackground(const std::optional<std::string>& path) {
    if (path) {
        QImage picture;
        if (picture.load(QString::fromStdString(*path))) return picture;
    }
    return BuiltInBackground();
}

}  // namespace z5r

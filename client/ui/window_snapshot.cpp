#include "ui/window_snapshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace z5r {

CWindowSnapshot::CWindowSnapshot(QWidget* window, QString path, int delayMs, QObject* parent)
    : QObject(parent), window_(window), path_(std::move(path)) {
    QTimer::singleShot(delayMs, this, [this] { Take(); });
}

CWindowSnapshot* CWindowSnapshot::FromEnvironment(QWidget* window, QObject* parent) {
    const char* path = std::getenv("Z5R_SNAPSHOT");
    if (path == nullptr || *path == '\0') return nullptr;
    int delayMs = 5000;
    if (const char* delay = std::getenv("Z5R_SNAPSHOT_AFTER_MS")) {
        bool ok = false;
        const int value = QString::fromUtf8(delay).toInt(&ok);
        if (ok && value >= 0) delayMs = value;
    }
    return new CWindowSnapshot(window, QString::fromLocal8Bit(path), delayMs, parent);
}

void CWindowSnapshot::Take() {
    const bool saved = window_->grab().save(path_, "PNG");
    if (!saved) {
        std::fprintf(stderr, "Client_Z5R: could not write the snapshot %s\n", path_.toLocal8Bit().constData());
    }
    QCoreApplication::quit();
}

}  // namespace z5r

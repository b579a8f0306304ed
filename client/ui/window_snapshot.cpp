#include "ui/window_snapshot.h"

#include <QAction>
#include <QCoreApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace z5r {

namespace {

// Time for the layout and the repaint after the window was rearranged.
constexpr int kSettleMs = 500;

QString Environment(const char* name) { return QString::fromLocal8Bit(std::getenv(name)); }

}  // namespace

CWindowSnapshot::CWindowSnapshot(QWidget* window, QString path, int delayMs, SSnapshotLayout layout,
                                 QObject* parent)
    : QObject(parent), window_(window), path_(std::move(path)), layout_(std::move(layout)) {
    QTimer::singleShot(delayMs, this, [this] { Arrange(); });
}

CWindowSnapshot* CWindowSnapshot::FromEnvironment(QWidget* window, QObject* parent) {
    const QString path = Environment("Z5R_SNAPSHOT");
    if (path.isEmpty()) return nullptr;
    int delayMs = 5000;
    bool ok = false;
    const int value = Environment("Z5R_SNAPSHOT_AFTER_MS").toInt(&ok);
    if (ok && value >= 0) delayMs = value;
    SSnapshotLayout layout;
    layout.maximized = Environment("Z5R_SNAPSHOT_MAXIMIZED") == QLatin1String("1");
    layout.action = Environment("Z5R_SNAPSHOT_ACTION");
    return new CWindowSnapshot(window, path, delayMs, layout, parent);
}

void CWindowSnapshot::Arrange() {
    if (!layout_.action.isEmpty()) {
        if (auto* action = window_->findChild<QAction*>(layout_.action)) {
            action->trigger();
        } else {
            std::fprintf(stderr, "Client_Z5R: no action %s for the snapshot\n", layout_.action.toLocal8Bit().constData());
        }
    }
    if (layout_.maximized) {
        window_->showMaximized();
        // Without a window manager nobody maximises: take the screen's room.
        if (const QScreen* screen = window_->screen()) window_->setGeometry(screen->availableGeometry());
    }
    QTimer::singleShot(kSettleMs, this, [this] { Take(); });
}

void CWindowSnapshot::Take() {
    const bool saved = window_->grab().save(path_, "PNG");
    if (!saved) {
        std::fprintf(stderr, "Client_Z5R: could not write the snapshot %s\n", path_.toLocal8Bit().constData());
    }
    QCoreApplication::quit();
}

}  // namespace z5r

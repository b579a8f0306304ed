// Saves a picture of a window some time after start and then ends the
// program: how the run script shows, on a machine without a screen, what the
// operator would see.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace z5r {

// How the window is laid out for the picture.
struct SSnapshotLayout {
    bool maximized = false;  // the whole screen instead of the window's own size
    QString action;          // an action of the window triggered first ("CompactViewAction"); empty: none
};

class CWindowSnapshot : public QObject {
public:
    // After `delayMs` the window is laid out as `layout` says, drawn into
    // `path` (PNG) and the program is asked to end the regular way.
    CWindowSnapshot(QWidget* window, QString path, int delayMs, SSnapshotLayout layout = {},
                    QObject* parent = nullptr);

    // Z5R_SNAPSHOT=<file> asks for a snapshot, Z5R_SNAPSHOT_AFTER_MS for its
    // delay (default 5000 ms), Z5R_SNAPSHOT_MAXIMIZED=1 for the whole screen
    // and Z5R_SNAPSHOT_ACTION=<action name> for a view of the window
    // (CompactViewAction). Returns null when no snapshot was asked for.
    static CWindowSnapshot* FromEnvironment(QWidget* window, QObject* parent = nullptr);

private:
    void Arrange();
    void Take();

    QWidget* window_;
    QString path_;
    SSnapshotLayout layout_;
};

}  // namespace z5r

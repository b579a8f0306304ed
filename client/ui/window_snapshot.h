// Saves a picture of a window some time after start and then ends the
// program: how the run script shows, on a machine without a screen, what the
// operator would see.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace z5r {

class CWindowSnapshot : public QObject {
public:
    // After `delayMs` the window is drawn into `path` (PNG) and the program is
    // asked to end the regular way.
    CWindowSnapshot(QWidget* window, QString path, int delayMs, QObject* parent = nullptr);

    // Z5R_SNAPSHOT=<file> asks for a snapshot, Z5R_SNAPSHOT_AFTER_MS for its
    // delay (default 5000 ms). Returns null when no snapshot was asked for.
    static CWindowSnapshot* FromEnvironment(QWidget* window, QObject* parent = nullptr);

private:
    void Take();

    QWidget* window_;
    QString path_;
};

}  // namespace z5r

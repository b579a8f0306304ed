// Ends the program the regular way (as the exit command does) when the
// process is asked to stop with SIGTERM, SIGINT or SIGHUP: the request is
// carried from the signal handler to the event loop through a pipe.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace z5r {

class CQuitOnSignal : public QObject {
public:
    // `quit` runs on the GUI thread for each signal received. One instance per
    // process.
    explicit CQuitOnSignal(std::function<void()> quit, QObject* parent = nullptr);
    ~CQuitOnSignal() override;

private:
    void Drain();

    std::function<void()> quit_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace z5r

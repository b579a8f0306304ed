#include "ui/quit_on_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace z5r {

namespace {

int g_pipe[2] = {-1, -1};
constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnQuitSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe already carries a request.
    [[maybe_unused]] const auto written = write(g_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

CQuitOnSignal::CQuitOnSignal(std::function<void()> quit, QObject* parent)
    : QObject(parent), quit_(std::move(quit)) {
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

CQuitOnSignal::~CQuitOnSignal() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
    delete notifier_;
    for (int& fd : g_pipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

void CQuitOnSignal::Drain() {
    char buffer[16];
    while (read(g_pipe[0], buffer, sizeof buffer) > 0) {
    }
    if (quit_) quit_();
}

}  // namespace z5r

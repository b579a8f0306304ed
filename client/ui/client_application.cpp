#include "ui/client_application.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace z5r {

CClientApplication::CClientApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool CClientApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("");
    }
    return false;
}

void ShowException(const std::string& what) {
    std::fprintf(stderr, "Client_Z5R: %s\n", what.c_str());
    if (qApp == nullptr) return;
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(what));
}

}  // namespace z5r

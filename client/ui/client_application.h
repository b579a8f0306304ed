// The client's application object: an exception that reaches the event loop
// from a handler is shown and the program goes on, as a handler must never
// let one out.
#pragma once

#include <QApplication>
#include <string>

namespace z5r {

class CClientApplication : public QApplication {
public:
    CClientApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The standard display of an exception: a modal error box when the toolkit is
// running, standard error otherwise. `what` may be empty.
void ShowException(const std::string& what);

}  // namespace z5r

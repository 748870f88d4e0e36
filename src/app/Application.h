#pragma once
// The application object. Like the framework the design grew on, an exception that escapes an
// event handler is shown in a message box with its text and abandons that handler only; the
// program goes on. Main thread only.
#include <QApplication>

namespace pellucor::app {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace pellucor::app

#include "app/Application.h"

#include "app/Dialogs.h"

#include <exception>

namespace pellucor::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Dialogs::critical(activeWindow(), QString::fromUtf8(e.what()));
    } catch (...) {
        Dialogs::critical(activeWindow(), QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace pellucor::app

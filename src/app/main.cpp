// Program entry: settings loaded, language chosen, one instance only, then the main window.
#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/QtScheduler.h"
#include "app/frmPellucor.h"
#include "lang/FindLanguageFile.h"
#include "lang/StringTable.h"
#include "platform/InstanceLock.h"
#include "platform/TerminationSignals.h"
#include "settings/SettingsModule.h"
#include "settings/cdSettings.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>

#include <clocale>
#include <exception>

namespace {

const char* const kTitle = "Tamrix free Pellucor";

// Shows the settings' load messages in one box once the window is on screen.
void ShowLoadMessages(QWidget* window, const std::vector<std::string>& messages) {
    if (messages.empty()) return;
    QStringList lines;
    for (const std::string& m : messages) lines << QString::fromStdString(m);
    QTimer::singleShot(0, window, [window, text = lines.join(QStringLiteral("\n\n"))] {
        pellucor::app::Dialogs::warning(window, text);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace pellucor;
    // Module start-up: the settings object exists and is loaded before anything else; its
    // destructor saves it however main is left, a second instance included.
    SettingsModule module;

    app::Application app(argc, argv);
    // Qt set the C locale from the environment; numbers in files and profiles use '.'.
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setApplicationDisplayName(QString::fromLatin1(kTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("pellucor"));

    // From here on a logout, kill or Ctrl+C ends the program the same orderly way as Exit. A
    // signal that comes before the window exists is read once the event loop runs.
    app::TfrmPellucor* mainWindow = nullptr;
    const platform::TerminationSignals terminationSignals([&mainWindow](int) {
        if (mainWindow) mainWindow->Terminate();
    });

    int result = 0;
    try {
        lang::LanguageFile = lang::FindLanguageFile("Software\\Tamrix\\Pellucor\\Language");
        lang::LoadStringTable(lang::StringTable, lang::kStringTableHighest, lang::LanguageFile, "Strings");

        const platform::InstanceLock lock(platform::instanceLockPath(kTitle));
        if (lock.anotherInstanceRuns()) return 0;  // the running instance stays the only one

        // The window decides when the program ends (Exit, tray Close, closing the window),
        // not the last visible window: a window hidden in the tray is not a closed one.
        app.setQuitOnLastWindowClosed(false);
        app::QtScheduler scheduler;
        app::TfrmPellucor window(scheduler);
        QObject::connect(&window, &app::TfrmPellucor::formClosed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        mainWindow = &window;
        // A session that ends asks for our data first: save the settings then, in case the
        // session does not wait for the orderly end (which closes the window and saves again).
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                         [](QSessionManager&) { AppSettings->SaveSettings(); });

        window.move(window.screen()->availableGeometry().center() - window.rect().center());
        window.show();
        ShowLoadMessages(&window, module.messages());
        result = app.exec();
        mainWindow = nullptr;
    } catch (const std::exception& e) {
        mainWindow = nullptr;
        QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kTitle), QString::fromUtf8(e.what()));
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
        result = 1;
    }
    return result;
}

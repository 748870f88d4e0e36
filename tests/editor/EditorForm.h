#pragma once
// Helpers for tests that drive the real profile editor: widgets by object name, a user's choice
// in a list, the global settings and language file swapped for a test's own, and a step run
// inside a modal dialog's event loop.
#include "editor/UfrmEdit.h"
#include "lang/StringTable.h"
#include "settings/cdSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QMetaObject>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace pellucor::editor::test {

template <class T>
T& Child(const QObject& root, const std::string& name)
{
    T* found = root.findChild<T*>(QString::fromStdString(name));
    if (!found) throw std::runtime_error("no widget named " + name);
    return *found;
}

// Selects the entry with this text as the user does, so the list's activated handler runs.
inline void Choose(const QObject& root, const std::string& list, const std::string& entry)
{
    auto& combo = Child<QComboBox>(root, list);
    const int at = combo.findText(QString::fromStdString(entry),
                                  Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0) throw std::runtime_error(list + " has no entry " + entry);
    combo.setCurrentIndex(at);
    emit combo.activated(at);
}

// Points AppSettings and the language file at the test's own while it lives.
class GlobalsForTest {
public:
    GlobalsForTest(TcdSettings& settings, const std::string& languageFile)
        : settings_(AppSettings), languageFile_(lang::LanguageFile)
    {
        AppSettings = &settings;
        lang::LanguageFile = languageFile;
    }
    ~GlobalsForTest()
    {
        AppSettings = settings_;
        lang::LanguageFile = languageFile_;
    }
    GlobalsForTest(const GlobalsForTest&) = delete;
    GlobalsForTest& operator=(const GlobalsForTest&) = delete;

private:
    TcdSettings* settings_;
    std::string languageFile_;
};

// Runs step on the modal dialog once its event loop runs, so a test can look at it and close it.
// The step is posted, not timed: it runs as soon as exec() starts handling events.
inline void WhenModal(std::function<void(TfrmEdit&)> step)
{
    QMetaObject::invokeMethod(
        qApp,
        [step = std::move(step)] {
            auto* dialog = qobject_cast<TfrmEdit*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no profile editor is open";
                return;
            }
            // An exception must not cross Qt's event loop; report it and end the dialog.
            try {
                step(*dialog);
            } catch (const std::exception& error) {
                ADD_FAILURE() << error.what();
                dialog->reject();
            }
        },
        Qt::QueuedConnection);
}

} // namespace pellucor::editor::test

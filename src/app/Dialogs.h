#pragma once
// Every message box and file dialog of the program goes through here, so that a form test can
// answer them ahead ("the next answer is Yes", "the next folder is X") and nothing modal ever
// blocks a test.
//
// Message boxes carry the application title as caption. Main thread only.
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace pellucor::app {

class Dialogs {
public:
    enum class Kind { Question, Information, Warning, Critical, OpenFiles, Folder };

    // Yes/No question box with the question icon; true for Yes.
    static bool askYesNo(QWidget* parent, const QString& text);
    static void information(QWidget* parent, const QString& text);
    static void warning(QWidget* parent, const QString& text);
    static void critical(QWidget* parent, const QString& text);
    // The open dialog: one filter ("AVI Files(*.avi)"), several files at once. Empty when the
    // user cancels.
    static QStringList openFiles(QWidget* parent, const QString& filter);
    // The folder picker. An initial folder that does not exist is dropped, an existing one is
    // preselected. No value when the user cancels.
    static std::optional<QString> browseForFolder(QWidget* parent, const QString& title,
                                                  const QString& initialFolder = QString());

    // While a Script lives, no dialog is shown: each takes the next queued answer of its kind,
    // and is recorded. A dialog that finds no answer queued counts as cancelled (No, no files,
    // no folder) and is counted in unanswered(), so a test notices a question it did not expect.
    class Script {
    public:
        struct Shown {
            Kind kind;
            QString title;  // caption or dialog title
            QString text;   // message text, or the filter of an open dialog
        };
        Script();
        ~Script();
        Script(const Script&) = delete;
        Script& operator=(const Script&) = delete;

        void answerYes(bool yes = true) { answers_.push_back(yes); }
        void chooseFiles(const QStringList& files) { files_.push_back(files); }
        void chooseFolder(const std::optional<QString>& folder) { folders_.push_back(folder); }

        const std::vector<Shown>& shown() const { return shown_; }
        int unanswered() const { return unanswered_; }
        void clearShown() { shown_.clear(); unanswered_ = 0; }

    private:
        friend class Dialogs;
        std::deque<bool> answers_;
        std::deque<QStringList> files_;
        std::deque<std::optional<QString>> folders_;
        std::vector<Shown> shown_;
        int unanswered_ = 0;
        Script* previous_ = nullptr;
    };

private:
    static void record(Kind kind, const QString& title, const QString& text);
};

} // namespace pellucor::app

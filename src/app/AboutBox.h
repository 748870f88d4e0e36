#pragma once
// The About box (program version, the Qt and FFmpeg versions, licence) and the help window
// (the README's text). Both are not modal and free themselves when closed; asking again brings
// the open one forward. Main thread only.
#include <QDialog>

namespace pellucor::app {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    static AboutBox* showAbout(QWidget* parent);
    static AboutBox* showHelp(QWidget* parent);

    // The texts shown, for the form's tests and for the About box itself.
    static QString aboutText();
    static QString helpText();  // the README, as Markdown

private:
    AboutBox(QWidget* parent, bool help);
    static AboutBox* showOne(QWidget* parent, bool help);
};

} // namespace pellucor::app

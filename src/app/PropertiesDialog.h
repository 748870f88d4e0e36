#pragma once
// Our own small properties window for a file (name, folder, size, type, modified), shown where
// no file manager answers the request for its properties dialog. Not modal: it closes and frees
// itself. Main thread only.
#include <QDialog>

#include <string>

namespace pellucor::app {

class PropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // Opens the window for path, owned by parent.
    static PropertiesDialog* showFor(QWidget* parent, const std::string& path);

private:
    PropertiesDialog(QWidget* parent, const std::string& path);
};

} // namespace pellucor::app

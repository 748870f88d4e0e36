// Fuzz target: applying a language file to a form (lang/forms/ApplyLanguage.h) on the offscreen
// platform. The form holds one of each kind of widget the program's forms use, and the inner
// widgets Qt gives them (qt_spinbox_lineedit, qt_tabwidget_tabbar, ...) are reachable by name
// too, so a file can aim at anything a real form has.
//
// What must hold for any file: no crash, and no widget shown, hidden, enabled or disabled by it
// (a language file changes texts, lists, fonts, positions and sizes, nothing else).
#include "FuzzSupport.h"

#include "lang/forms/ApplyLanguage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>

using pellucor::fuzz::AsText;
using pellucor::fuzz::ScratchFolder;

namespace {

// Qt's own warnings about odd values ("negative sizes" ...) are expected here and only noise.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

void StartQt() {
    static int argc = 1;
    static char name[] = "fuzz_apply_language";
    static char* argv[] = {name, nullptr};
    static QApplication* app = nullptr;
    if (app != nullptr) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietMessages);
    // Never deleted: the application lives as long as the process, as in the program.
    app = new QApplication(argc, argv);
}

template <typename W>
W* Add(QWidget* parent, QLayout* layout, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(name);
    layout->addWidget(w);
    return w;
}

std::unique_ptr<QWidget> MakeForm() {
    auto form = std::make_unique<QWidget>();
    form->setObjectName("frmFuzz");
    form->setWindowTitle("Fuzz");
    auto* layout = new QVBoxLayout(form.get());
    Add<QLabel>(form.get(), layout, "lblTitle")->setText("Title");
    Add<QPushButton>(form.get(), layout, "btnStart")->setText("Start");
    Add<QCheckBox>(form.get(), layout, "chkSubfolders")->setText("Sub-folders");
    Add<QRadioButton>(form.get(), layout, "rbOne")->setText("One");
    auto* group = Add<QGroupBox>(form.get(), layout, "gbOutput");
    group->setTitle("Output");
    auto* combo = Add<QComboBox>(form.get(), layout, "cbFormat");
    combo->addItems({"MPEG", "MP4", "WMV"});
    combo->setCurrentIndex(1);
    auto* editable = Add<QComboBox>(form.get(), layout, "cbSize");
    editable->setEditable(true);
    editable->addItems({"320x240", "640x480"});
    auto* list = Add<QListWidget>(form.get(), layout, "lbFiles");
    list->addItems({"a.avi", "b.avi"});
    list->setCurrentRow(0);
    Add<QLineEdit>(form.get(), layout, "edFolder")->setText("/tmp");
    Add<QPlainTextEdit>(form.get(), layout, "memoLog")->setPlainText("one\ntwo");
    Add<QTextEdit>(form.get(), layout, "memoInfo")->setPlainText("info");
    Add<QSpinBox>(form.get(), layout, "seBitrate")->setValue(5);
    Add<QProgressBar>(form.get(), layout, "pbProgress")->setValue(10);
    auto* tabs = Add<QTabWidget>(form.get(), layout, "pcPages");
    auto* page = new QWidget;
    page->setObjectName("tsVideo");
    tabs->addTab(page, "Video");
    auto* hidden = Add<QLabel>(form.get(), layout, "lblHidden");
    hidden->hide();
    Add<QPushButton>(form.get(), layout, "btnDisabled")->setEnabled(false);
    auto* menu = new QMenu(form.get());
    menu->setObjectName("mnuFile");
    menu->addAction("Open")->setObjectName("actOpen");
    return form;
}

// The form's own widgets, hidden and enabled. Qt's inner widgets are left out: they show and hide
// their scroll bars by themselves when a text grows.
std::map<QWidget*, std::pair<bool, bool>> Visibility(QWidget* form) {
    std::map<QWidget*, std::pair<bool, bool>> states{{form, {form->isHidden(), form->isEnabled()}}};
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_")) states[w] = {w->isHidden(), w->isEnabled()};
    }
    return states;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16 * 1024) return 0;
    StartQt();
    const std::filesystem::path file = ScratchFolder::write(ScratchFolder::get(), "language.lng", AsText(data, size));
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    std::unique_ptr<QWidget> form = MakeForm();
    const auto before = Visibility(form.get());
    pellucor::lang::ApplyLanguage(form.get(), file.string());
    for (const auto& [widget, state] : Visibility(form.get())) {
        const auto it = before.find(widget);
        if (it == before.end()) continue;
        const std::string name = widget->objectName().toStdString();
        FUZZ_CHECK(it->second.first == state.first, "the language file showed or hid " + name);
        FUZZ_CHECK(it->second.second == state.second, "the language file enabled or disabled " + name);
    }
    form.reset();
    // Whatever Qt handed to deleteLater on the way goes now, or it would pile up over a run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return 0;
}

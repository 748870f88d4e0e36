// TfrmPellucor: the Hot Directory page. The mode itself (checks, monitor, conversions, the day's
// log) is HotDirMode, which pellucor-cli watch runs as well; the page hands it the folders and
// shows what it refuses or reports.
#include "app/frmPellucor.h"

#include "ui_frmPellucor.h"

#include "app/Dialogs.h"
#include "app/StringEntry.h"
#include "conversion/ConversionLog.h"
#include "hotdir/HotDirMode.h"
#include "hotdir/MonitorHub.h"
#include "hotdir/uHotDir.h"
#include "platform/Shell.h"
#include "settings/cdSettings.h"

#include <QTimer>

#include <ctime>
#include <exception>
#include <filesystem>

namespace pellucor::app {
namespace {

std::string textOf(const QLineEdit* edit) { return edit->text().toStdString(); }

// Browse for the input or the output folder (string-table entries for the title and the
// warning). When the other folder is the chosen one or lies inside it, the user is warned; the
// choice stands all the same (Run refuses an output at or inside the input), unless it is
// exactly the other edit's text.
void chooseHotFolder(QWidget* parent, int titleEntry, int warningEntry, QLineEdit* target, const QLineEdit* other) {
    const std::optional<QString> folder = Dialogs::browseForFolder(parent, Entry(titleEntry));
    if (!folder) return;
    if (hotdir::IsSameOrInside(other->text().toStdString(), folder->toStdString()))
        Dialogs::warning(parent, Entry(warningEntry));
    if (*folder != other->text()) target->setText(*folder);
}

// Shows a folder in the file manager; a folder that is gone gets a word instead of nothing.
void openFolder(QWidget* parent, const std::string& folder) {
    if (!platform::shellOpen(folder))
        Dialogs::warning(parent, QStringLiteral("The folder \"%1\" cannot be opened.").arg(QString::fromStdString(folder)));
}

} // namespace

void TfrmPellucor::connectHotDirHandlers() {
    hub_ = std::make_unique<hotdir::MonitorHub>(scheduler_);
    FMonitor = std::make_unique<hotdir::DirectoryMonitor>(*hub_);
    hotDir_ = std::make_unique<hotdir::HotDirMode>(scheduler_, *VideoEdit, *AppSettings, *FMonitor);
    hotDir_->OnProblem = [this](const std::string& text) { hotDirProblem(text); };

    Ui::frmPellucor& u = *ui_;
    connect(u.btnsbtrun, &QToolButton::clicked, this, &TfrmPellucor::btnsbtrunClick);
    connect(u.btnsbtend, &QToolButton::clicked, this, &TfrmPellucor::btnsbtendClick);
    connect(u.actSelIndir, &QAction::triggered, this, &TfrmPellucor::actSelIndirExecute);
    connect(u.actSelOutdir, &QAction::triggered, this, &TfrmPellucor::actSelOutdirExecute);
    connect(u.actSelLogdir, &QAction::triggered, this, &TfrmPellucor::actSelLogdirExecute);
    connect(u.actOpenIndir, &QAction::triggered, this, &TfrmPellucor::actOpenIndirExecute);
    connect(u.actOpenOutdir, &QAction::triggered, this, &TfrmPellucor::actOpenOutdirExecute);
    connect(u.actOpenLogdir, &QAction::triggered, this, &TfrmPellucor::actOpenLogdirExecute);
}

void TfrmPellucor::btnsbtrunClick() {
    Ui::frmPellucor& u = *ui_;
    const hotdir::HotDirFolders folders{textOf(u.edtindir), textOf(u.edtoutdir), textOf(u.edtlog),
                                        u.chksubdir->isChecked()};
    hotdir::RunRefusal refusal;
    try {
        refusal = hotDir_->Run(folders);
    } catch (const std::exception& e) {
        // The folder could not be watched: the page stays idle and nothing was saved.
        Dialogs::critical(this, QString::fromStdString(e.what()));
        return;
    }
    if (refusal != hotdir::RunRefusal::None) {
        Dialogs::information(this, Entry(static_cast<int>(refusal)));
        QLineEdit* offending = refusal == hotdir::RunRefusal::MissingOutput ? u.edtoutdir
                               : refusal == hotdir::RunRefusal::MissingLog  ? u.edtlog
                                                                            : u.edtindir;
        offending->setFocus();
        return;
    }
    lastProblem_.clear();
    SetHotDirRunning(true);
}

void TfrmPellucor::btnsbtendClick() {
    hotDir_->End();
    SetHotDirRunning(false);
}

void TfrmPellucor::SetHotDirRunning(bool running) {
    Ui::frmPellucor& u = *ui_;
    u.btnsbtrun->setEnabled(!running);
    u.btnsbtend->setEnabled(running);
    u.btnmin->setEnabled(running);
    for (QWidget* w : std::initializer_list<QWidget*>{u.edtindir, u.edtoutdir, u.edtlog, u.chksubdir,
                                                      u.btnselectlogfile, u.btnsbtreturn, u.pgcConvert})
        w->setEnabled(!running);
    u.actSelIndir->setEnabled(!running);
    u.actSelOutdir->setEnabled(!running);
    // The Format menu and Return to Batch Mode follow the mode's state.
    UpdateMenuStates();
}

void TfrmPellucor::hotDirProblem(const std::string& text) {
    // A vanished log folder fails every line: say so once, not once per line. The box opens
    // after the mode's call has returned, so no conversion step waits inside it.
    if (text == lastProblem_) return;
    lastProblem_ = text;
    QTimer::singleShot(0, this, [this, message = QString::fromStdString(text)] {
        Dialogs::critical(this, message);
    });
}

// --- Browse and Open Dir ----------------------------------------------------------------------

void TfrmPellucor::actSelIndirExecute() { chooseHotFolder(this, 18, 19, ui_->edtindir, ui_->edtoutdir); }

void TfrmPellucor::actSelOutdirExecute() { chooseHotFolder(this, 20, 21, ui_->edtoutdir, ui_->edtindir); }

void TfrmPellucor::actSelLogdirExecute() {
    const std::optional<QString> folder = Dialogs::browseForFolder(this, QStringLiteral("log path"));
    if (folder) ui_->edtlog->setText(*folder);
}

void TfrmPellucor::actOpenIndirExecute() { openFolder(this, textOf(ui_->edtindir)); }

void TfrmPellucor::actOpenOutdirExecute() { openFolder(this, textOf(ui_->edtoutdir)); }

void TfrmPellucor::actOpenLogdirExecute() {
    // Today's log file selected in the file manager, or its folder while there is none yet.
    const std::filesystem::path log = conversion::LogFilePath(AppSettings->LogDir, std::time(nullptr));
    std::error_code ec;
    if (std::filesystem::exists(log, ec))
        platform::revealInFileManager(log.string());
    else
        openFolder(this, log.parent_path().string());
}

} // namespace pellucor::app

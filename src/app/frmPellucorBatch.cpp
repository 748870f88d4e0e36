// TfrmPellucor: the batch run as the window shows it (Convert, Stop, the run controls, the
// progress bar, the memo), and the component's events passed on to the mode that runs.
#include "app/frmPellucor.h"

#include "ui_frmPellucor.h"

#include "app/Dialogs.h"
#include "app/FileListRows.h"
#include "app/InputFileList.h"
#include "app/MenuStates.h"
#include "app/StringEntry.h"
#include "engine/VideoEdit.h"
#include "hotdir/HotDirMode.h"
#include "platform/Shell.h"
#include "settings/cdSettings.h"

#include <QGuiApplication>
#include <QProgressBar>

#include <filesystem>

namespace pellucor::app {
namespace {
constexpr int kPercentPanel = 4;
} // namespace

void TfrmPellucor::connectBatchHandlers() {
    batchRows_ = std::make_unique<FileListRows>(*files_);
    batch_ = std::make_unique<conversion::BatchDriver>(scheduler_, *VideoEdit, *AppSettings, *batchRows_,
                                                       static_cast<conversion::BatchView&>(*this));
    connect(ui_->actConvert, &QAction::triggered, this, &TfrmPellucor::actConvertExecute);
    connect(ui_->actStopConvert, &QAction::triggered, this, &TfrmPellucor::actStopConvertExecute);
    ui_->actStopConvert->setEnabled(false);

    VideoEdit->OnStart = [this] { VideoEditStart(); };
    VideoEdit->OnProgress = [this](int percent) { VideoEditProgress(percent); };
    VideoEdit->OnError = [this](int code, const std::string& text) { VideoEditError(code, text); };
    VideoEdit->OnStop = [this] { VideoEditStop(); };
}

void TfrmPellucor::actConvertExecute() {
    // The commands are off during a run; a shortcut or a queued click must not start a second one.
    if (batchRunning_ || FMode != ModeBatch || files_->rowCount() == 0) return;
    const std::optional<QString> folder =
        Dialogs::browseForFolder(this, Entry(15), QString::fromStdString(AppSettings->SavePath));
    if (!folder) return;
    batch_->Convert(folder->toStdString(), FFormatPage);
}

void TfrmPellucor::actStopConvertExecute() {
    if (batchRunning_) batch_->Stop();
}

void TfrmPellucor::EnableRunControls(bool on) {
    Ui::frmPellucor& u = *ui_;
    for (QWidget* w : std::initializer_list<QWidget*>{u.pgcConvert, u.btnRemove, u.btnClear, u.lvFiles,
                                                      u.btnHotdirectory})
        w->setEnabled(on);
    if (on) UpdateListActions();
}

// --- What the batch run shows -----------------------------------------------------------------

void TfrmPellucor::setRunning(bool running) {
    // The busy cursor stays for the whole run; the window keeps working under it, so Stop and
    // Add can still be used.
    if (running && !batchRunning_) QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    if (!running && batchRunning_) QGuiApplication::restoreOverrideCursor();
    batchRunning_ = running;
    ui_->btnConvert->setVisible(!running);
    ui_->btnStopConvert->setVisible(running);
    ui_->actStopConvert->setEnabled(running);
    UpdateMenuStates();
    EnableRunControls(!running);
    if (running) UpdateListActions();
}

void TfrmPellucor::storePresetSelections() { StorePresetSelections(); }

void TfrmPellucor::appendMemo(const std::string& line) { AppendMemo(QString::fromStdString(line)); }

void TfrmPellucor::showProgress(int percent) {
    FProgressBar->show();
    FProgressBar->setValue(percent);
    statusPanels_[kPercentPanel]->setText(QString::asprintf("%d%%", FProgressBar->value()));
}

void TfrmPellucor::resetProgress() { FProgressBar->setValue(0); }

void TfrmPellucor::hideProgress() {
    FProgressBar->setValue(0);
    statusPanels_[kPercentPanel]->clear();
    FProgressBar->hide();
}

void TfrmPellucor::warnMissingFile(const std::string& /*path*/) { Dialogs::warning(this, Entry(16)); }

void TfrmPellucor::runEnded(const std::string& lastOutput) {
    if (!Dialogs::askYesNo(this, Entry(17)) || lastOutput.empty()) return;
    std::error_code ec;
    if (std::filesystem::exists(lastOutput, ec))
        platform::revealInFileManager(lastOutput);
    else
        platform::shellOpen(std::filesystem::path(lastOutput).parent_path().string());
}

// --- The component's events -------------------------------------------------------------------

// Each event goes to the mode whose job it is, not merely to the page shown: a job that End or
// Stop aborted still reports its end after the user may have changed modes.
void TfrmPellucor::VideoEditStart() {
    if (batch_->JobPending()) batch_->VideoEditStart();
}

void TfrmPellucor::VideoEditProgress(int percent) {
    if (batch_->JobPending()) batch_->VideoEditProgress(percent);
    else if (hotDir_->Busy()) FProgressBar->hide();  // no progress in Hot Directories Mode
}

void TfrmPellucor::VideoEditError(int code, const std::string& text) {
    if (batch_->JobPending()) batch_->VideoEditError(code, text);
    else if (hotDir_->Busy()) hotDir_->VideoEditError(code, text);
}

void TfrmPellucor::VideoEditStop() {
    VideoEdit->Input_Clear_List();
    if (batch_->JobPending()) batch_->VideoEditStop();
    else if (hotDir_->Busy()) hotDir_->VideoEditStop();
}

} // namespace pellucor::app

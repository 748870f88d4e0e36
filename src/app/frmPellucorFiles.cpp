// TfrmPellucor: the handlers of the input file list (Convert page, File menu, popup, drops).
#include "app/frmPellucor.h"

#include "ui_frmPellucor.h"

#include "app/Dialogs.h"
#include "app/FileListRules.h"
#include "app/InputFileList.h"
#include "app/Pictures.h"
#include "app/PropertiesDialog.h"
#include "app/StringEntry.h"
#include "platform/Paths.h"
#include "platform/Shell.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

namespace pellucor::app {
namespace {

const QString kAviFilter = QStringLiteral("AVI Files(*.avi)");

} // namespace

void TfrmPellucor::actaddExecute() {
    ui_->pnlempty->hide();
    QStringList chosen;
    for (const QString& path : Dialogs::openFiles(this, kAviFilter))
        if (PassesExtensionRule(path)) chosen << path;
    files_->AddFileList(chosen);
    UpdateListActions();
    files_->RemoveDuplicateNames();
}

void TfrmPellucor::actAddFolderExecute() {
    ui_->pnlempty->hide();
    const std::optional<QString> folder = Dialogs::browseForFolder(this, Entry(12));
    if (!folder) {
        UpdateListActions();
        return;
    }
    files_->AddFileList(FindFiles(*folder));
    files_->RemoveDuplicateNames();
    UpdateListActions();
}

void TfrmPellucor::actRemoveExecute() {
    if (batchRunning_) return;  // the run's rows keep their places
    const int count = files_->selectedCount();
    if (count == 0) return;
    if (Dialogs::askYesNo(this, Entry(13) + QLatin1Char(' ') + QString::number(count) + QStringLiteral(" items")))
        files_->RemoveSelectedRows();
    UpdateListActions();
}

void TfrmPellucor::actClearExecute() {
    if (batchRunning_ || files_->rowCount() == 0) return;
    files_->ClearSortPictures();
    if (Dialogs::askYesNo(this, Entry(14))) files_->Clear();
    UpdateListActions();
}

void TfrmPellucor::SelectAllClick() { files_->SelectAll(); }

void TfrmPellucor::RemoveFailedClick() {
    if (batchRunning_) return;
    files_->RemoveRowsWithPicture(PicFailed);
    UpdateListActions();
}

void TfrmPellucor::RemoveSucceededClick() {
    if (batchRunning_) return;
    files_->RemoveRowsWithPicture(PicConverted);
    UpdateListActions();
}

void TfrmPellucor::OpenClick() {
    const int row = files_->firstSelectedRow();
    if (row >= 0) platform::shellOpen(files_->fullPath(row).toStdString());
}

void TfrmPellucor::actOpenFolderExecute() {
    const int row = files_->firstSelectedRow();
    if (row >= 0) platform::revealInFileManager(files_->fullPath(row).toStdString());
}

void TfrmPellucor::PropertiesClick() {
    const int row = files_->firstSelectedRow();
    if (row < 0) return;
    const std::string path = files_->fullPath(row).toStdString();
    platform::showItemProperties(path, [this, path] { PropertiesDialog::showFor(this, path); });
}

void TfrmPellucor::ExampleClick() {
    files_->AddFileItem(QString::fromStdString(platform::dataFilePath("Example.avi").string()));
    files_->RemoveDuplicateNames();
    UpdateListActions();
    UpdateMenuStates();
}

void TfrmPellucor::lvFilesColumnClick(int column) {
    if (!batchRunning_) files_->SortByColumn(column);  // the run converts in the order shown
}

void TfrmPellucor::lvFilesContextPopup(const QPoint& pos) {
    if (auto* pmFiles = findChild<QMenu*>(QStringLiteral("pmFiles")))
        pmFiles->popup(ui_->lvFiles->viewport()->mapToGlobal(pos));
}

bool TfrmPellucor::eventFilter(QObject* watched, QEvent* event) {
    // Every click into the list refreshes what depends on it.
    if (watched == ui_->lvFiles->viewport() && event->type() == QEvent::MouseButtonPress)
        UpdateListActions();
    return QMainWindow::eventFilter(watched, event);
}

// --- Drops of files from a file manager, on any page --------------------------------------------

void TfrmPellucor::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmPellucor::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmPellucor::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    event->acceptProposedAction();
    files_->AddFileList(GetDroppedFiles(event->mimeData()->urls()));
    files_->RemoveDuplicateNames();
    UpdateListActions();
}

} // namespace pellucor::app

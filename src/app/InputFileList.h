#pragma once
// The input file list (lvFiles): the rows a batch run converts, what they show, and the
// operations of the form that change them.
//
// A row: caption = file name; column 1 "Imformation" = status text; column 2 "Size" =
// FormatSizeKB of the file's size; column 3 "Full Name" = the path; a hidden column 4 = the taken
// mark ("" or "Done"); the picture (0 waiting, 1 failed, 2 converted) in column 0.
//
// Sizes are read on a worker thread so that adding thousands of files never stalls the window:
// a new row shows an empty size until the worker's result comes back through the scheduler's
// postToMain. Everything else runs on the main thread. The object belongs to the form and lives
// no longer than the view and the scheduler.
#include "platform/Scheduler.h"

#include <QIcon>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace pellucor::app {

class InputFileList : public QObject {
    Q_OBJECT
public:
    enum Column { ColName = 0, ColInfo = 1, ColSize = 2, ColFullName = 3, ColTaken = 4 };

    InputFileList(QTreeWidget* view, Scheduler& scheduler, QObject* parent = nullptr);
    ~InputFileList() override;  // stops the size reader and waits for it

    // Appends a row for path (nothing for a path that is empty once trimmed). Whether the file
    // exists is not tested.
    void AddFileItem(const QString& path);
    // Appends every path in order inside one update of the list, with the busy cursor shown.
    void AddFileList(const QStringList& paths);
    // Deletes every row whose file name equals, without regard to case, one above it.
    void RemoveDuplicateNames();
    // Deletes, without asking, every row showing picture.
    void RemoveRowsWithPicture(int picture);
    void RemoveSelectedRows();
    void Clear();
    void SelectAll();

    // Header click on column: sort pictures, FSortColumn, FSortFlag, then the rows sorted.
    void SortByColumn(int column);
    void ClearSortPictures();
    int sortColumn() const { return sortColumn_; }
    bool sortFlag() const { return sortFlag_; }
    int headerPicture(int column) const;  // -1 when the header shows none

    int rowCount() const;
    int selectedCount() const;
    int firstSelectedRow() const;  // -1 when none is selected
    QTreeWidgetItem* item(int row) const;
    QString caption(int row) const;
    QString fullPath(int row) const;
    QString sizeText(int row) const;
    QString infoText(int row) const;
    void setInfoText(int row, const QString& text);
    bool taken(int row) const;
    void setTaken(int row, bool taken);
    int picture(int row) const;
    void setPicture(int row, int picture);

    // Blocks until the size reader has read every size asked for so far. The results still
    // arrive through the scheduler, so a test runs its posted work afterwards.
    void waitForSizeReader();

private:
    struct Alive {};  // posted size results run only while this object exists
    // Deletes every row for which doomed(row index, row) holds, in one pass.
    void removeRows(const std::function<bool(int, const QTreeWidgetItem*)>& doomed);
    void readSizes(const QList<QPair<quint64, QString>>& jobs);
    void applySizes(const QHash<quint64, qint64>& sizes);

    QTreeWidget* view_;
    Scheduler& scheduler_;
    std::array<QIcon, 5> pictures_;
    int sortColumn_ = 0;     // FSortColumn
    bool sortFlag_ = false;  // FSortFlag
    quint64 nextRowId_ = 1;
    QThreadPool sizePool_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<Alive> alive_ = std::make_shared<Alive>();
};

} // namespace pellucor::app

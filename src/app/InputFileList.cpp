#include "app/InputFileList.h"

#include "app/FileListRules.h"
#include "app/Pictures.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QSet>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>

namespace pellucor::app {
namespace {

constexpr int kPictureRole = Qt::UserRole + 1;  // the row's picture index, in column 0
constexpr int kRowIdRole = Qt::UserRole + 2;    // a serial number, for size results
constexpr int kSizePendingRole = Qt::UserRole + 3;
constexpr int kSizeChunk = 512;                 // size results handed to the window at once
const QString kTakenMark = QStringLiteral("Done");

// The list draws grid lines between its cells, as a report view does.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, option, index);
        p->save();
        p->setPen(option.palette.color(QPalette::Midlight));
        p->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        p->drawLine(option.rect.topRight(), option.rect.bottomRight());
        p->restore();
    }
};

// Restores the cursor however the adding ends, an exception included.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QString FileNamePart(const QString& path) { return path.section(QLatin1Char('/'), -1); }

} // namespace

InputFileList::InputFileList(QTreeWidget* view, Scheduler& scheduler, QObject* parent)
    : QObject(parent), view_(view), scheduler_(scheduler) {
    for (int i = 0; i < ListPictureCount; ++i) pictures_[i] = ListPictureIcon(i);
    sizePool_.setMaxThreadCount(1);  // one reader: sizes come back in list order, disks seek less

    view_->setItemDelegate(new GridDelegate(view_));
    view_->setIconSize(QSize(16, 16));
    // The selection stays visible when the list loses the focus.
    QPalette pal = view_->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    view_->setPalette(pal);
    QHeaderView* header = view_->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    const int widths[] = {150, 150, 100, 200};
    for (int c = 0; c < 4; ++c) view_->setColumnWidth(c, widths[c]);
    view_->setColumnHidden(ColTaken, true);
}

InputFileList::~InputFileList() {
    cancel_->store(true);
    sizePool_.waitForDone();
}

void InputFileList::AddFileItem(const QString& path) { AddFileList(QStringList{path}); }

void InputFileList::AddFileList(const QStringList& paths) {
    BusyCursor busy;
    QList<QTreeWidgetItem*> rows;
    QList<QPair<quint64, QString>> jobs;
    rows.reserve(paths.size());
    for (const QString& path : paths) {
        if (path.trimmed().isEmpty()) continue;
        auto* row = new QTreeWidgetItem;
        row->setText(ColName, FileNamePart(path));
        row->setText(ColFullName, path);
        row->setIcon(ColName, pictures_[PicWaiting]);
        row->setData(ColName, kPictureRole, int(PicWaiting));
        const quint64 id = nextRowId_++;
        row->setData(ColName, kRowIdRole, id);
        row->setData(ColName, kSizePendingRole, true);
        rows << row;
        jobs.append({id, path});
    }
    if (rows.isEmpty()) return;
    view_->setUpdatesEnabled(false);  // one repaint for the whole batch
    view_->addTopLevelItems(rows);
    view_->setUpdatesEnabled(true);
    readSizes(jobs);
}

void InputFileList::readSizes(const QList<QPair<quint64, QString>>& jobs) {
    sizePool_.start([jobs, cancel = cancel_, alive = std::weak_ptr<Alive>(alive_), this] {
        QHash<quint64, qint64> chunk;
        auto hand = [&] {
            if (chunk.isEmpty()) return;
            // The list may be gone by the time the main thread gets here: the weak pointer says.
            scheduler_.postToMain([alive, this, sizes = std::move(chunk)] {
                if (alive.lock()) applySizes(sizes);
            });
            chunk = {};
        };
        for (const auto& [id, path] : jobs) {
            if (cancel->load()) return;
            chunk.insert(id, FileSizeOf(path));
            if (chunk.size() >= kSizeChunk) hand();
        }
        hand();
    });
}

void InputFileList::applySizes(const QHash<quint64, qint64>& sizes) {
    // Hundreds of texts at once: the view hears of them as one repaint, not one by one.
    {
        const QSignalBlocker quiet(view_->model());
        qsizetype left = sizes.size();
        for (int i = 0, n = view_->topLevelItemCount(); i < n && left > 0; ++i) {
            QTreeWidgetItem* row = view_->topLevelItem(i);
            if (!row->data(ColName, kSizePendingRole).toBool()) continue;
            auto it = sizes.constFind(row->data(ColName, kRowIdRole).toULongLong());
            if (it == sizes.constEnd()) continue;
            row->setText(ColSize, FormatSizeKB(it.value()));
            row->setData(ColName, kSizePendingRole, false);
            --left;
        }
    }
    view_->viewport()->update();
}

void InputFileList::waitForSizeReader() { sizePool_.waitForDone(); }

void InputFileList::RemoveDuplicateNames() {
    QStringList names;
    names.reserve(rowCount());
    for (int i = 0; i < rowCount(); ++i) names << caption(i);
    const std::vector<int> doomed = DuplicateRows(names);
    std::vector<bool> remove(static_cast<std::size_t>(rowCount()), false);
    for (int row : doomed) remove[static_cast<std::size_t>(row)] = true;
    removeRows([&remove](int row, const QTreeWidgetItem*) { return remove[static_cast<std::size_t>(row)]; });
}

void InputFileList::RemoveRowsWithPicture(int picture) {
    removeRows([picture](int, const QTreeWidgetItem* row) { return row->data(ColName, kPictureRole).toInt() == picture; });
}

void InputFileList::RemoveSelectedRows() {
    removeRows([](int, const QTreeWidgetItem* row) { return row->isSelected(); });
}

void InputFileList::removeRows(const std::function<bool(int, const QTreeWidgetItem*)>& doomed) {
    std::vector<int> rows;
    for (int i = 0; i < rowCount(); ++i)
        if (doomed(i, item(i))) rows.push_back(i);
    if (rows.empty()) return;
    view_->setUpdatesEnabled(false);
    if (rows.size() <= 16) {
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) delete view_->takeTopLevelItem(*it);
    } else {
        // Row by row, every removal shifts the rows below it; with thousands of rows, take them
        // all out once and put back the ones that stay.
        QTreeWidgetItem* current = view_->currentItem();
        const QList<QTreeWidgetItem*> selectedList = view_->selectedItems();
        const QSet<QTreeWidgetItem*> selected(selectedList.begin(), selectedList.end());
        QList<QTreeWidgetItem*> all = view_->invisibleRootItem()->takeChildren();
        QList<QTreeWidgetItem*> kept;
        kept.reserve(all.size());
        std::size_t next = 0;
        for (int i = 0; i < all.size(); ++i) {
            if (next < rows.size() && rows[next] == i) {
                if (all[i] == current) current = nullptr;
                delete all[i];
                ++next;
            } else {
                kept << all[i];
            }
        }
        view_->addTopLevelItems(kept);
        for (QTreeWidgetItem* row : kept)
            if (selected.contains(row)) row->setSelected(true);
        if (current) view_->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    }
    view_->setUpdatesEnabled(true);
}

void InputFileList::Clear() { view_->clear(); }

void InputFileList::SelectAll() { view_->selectAll(); }

void InputFileList::ClearSortPictures() {
    for (int c = 0; c < view_->columnCount(); ++c) view_->headerItem()->setIcon(c, QIcon());
    for (int c = 0; c < view_->columnCount(); ++c) view_->headerItem()->setData(c, kPictureRole, -1);
}

int InputFileList::headerPicture(int column) const {
    const QVariant v = view_->headerItem()->data(column, kPictureRole);
    return v.isValid() ? v.toInt() : -1;
}

void InputFileList::SortByColumn(int column) {
    ClearSortPictures();
    const int picture = sortFlag_ ? PicSortUp : PicSortDown;
    view_->headerItem()->setIcon(column, pictures_[picture]);
    view_->headerItem()->setData(column, kPictureRole, picture);
    sortColumn_ = column;
    sortFlag_ = !sortFlag_;

    struct Entry {
        RowTexts texts;
        QTreeWidgetItem* row;
        bool selected;
    };
    std::vector<Entry> entries;
    entries.reserve(rowCount());
    QTreeWidgetItem* current = view_->currentItem();
    for (int i = 0; i < rowCount(); ++i) {
        QTreeWidgetItem* row = item(i);
        entries.push_back({{row->text(ColName), row->text(ColInfo), row->text(ColSize), row->text(ColFullName)},
                           row, row->isSelected()});
    }
    std::stable_sort(entries.begin(), entries.end(), [this](const Entry& a, const Entry& b) {
        return CompareRows(a.texts, b.texts, sortColumn_, sortFlag_) < 0;
    });
    view_->setUpdatesEnabled(false);
    view_->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> ordered;
    ordered.reserve(static_cast<qsizetype>(entries.size()));
    for (const Entry& e : entries) ordered << e.row;
    view_->addTopLevelItems(ordered);
    for (const Entry& e : entries) e.row->setSelected(e.selected);
    if (current) view_->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    view_->setUpdatesEnabled(true);
}

int InputFileList::rowCount() const { return view_->topLevelItemCount(); }

int InputFileList::selectedCount() const { return static_cast<int>(view_->selectedItems().size()); }

int InputFileList::firstSelectedRow() const {
    int first = -1;
    for (QTreeWidgetItem* row : view_->selectedItems()) {
        const int i = view_->indexOfTopLevelItem(row);
        if (i >= 0 && (first < 0 || i < first)) first = i;
    }
    return first;
}

QTreeWidgetItem* InputFileList::item(int row) const { return view_->topLevelItem(row); }
QString InputFileList::caption(int row) const { return item(row)->text(ColName); }
QString InputFileList::fullPath(int row) const { return item(row)->text(ColFullName); }
QString InputFileList::sizeText(int row) const { return item(row)->text(ColSize); }
QString InputFileList::infoText(int row) const { return item(row)->text(ColInfo); }
// The setters leave a row alone when it already shows the value: a run resets thousands of rows
// that mostly wait already, and every real change costs the view a notification.
void InputFileList::setInfoText(int row, const QString& text) {
    if (infoText(row) != text) item(row)->setText(ColInfo, text);
}
bool InputFileList::taken(int row) const { return item(row)->text(ColTaken) == kTakenMark; }
void InputFileList::setTaken(int row, bool taken) {
    if (this->taken(row) != taken) item(row)->setText(ColTaken, taken ? kTakenMark : QString());
}
int InputFileList::picture(int row) const { return item(row)->data(ColName, kPictureRole).toInt(); }

void InputFileList::setPicture(int row, int picture) {
    QTreeWidgetItem* r = item(row);
    if (r->data(ColName, kPictureRole).toInt() == picture) return;
    r->setData(ColName, kPictureRole, picture);
    r->setIcon(ColName, picture >= 0 && picture < ListPictureCount ? pictures_[picture] : QIcon());
}

} // namespace pellucor::app

#pragma once
// The rules of the input file list that need no window: size texts, the extension rule, the
// duplicate rule, the sort comparison, and the files a drop or a folder contributes.
// Plain functions, callable from any thread.
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <vector>

namespace pellucor::app {

// Every decimal digit of the text, read left to right, as one number; all other characters are
// skipped ("1,501 KB" -> 1501). Digits past what 64 bits hold wrap around instead of overflowing.
std::int64_t DigitsValue(const QString& text);

// A file size as the list shows it: the whole kilobytes plus one half, rounded half away from
// zero, with the locale's thousands separator and " KB" (1,536,000 bytes -> "1,501 KB"; an empty
// file -> "1 KB").
QString FormatSizeKB(std::int64_t bytes, const QLocale& locale = QLocale());

// The size of a file, 0 when it cannot be found or is not a file.
std::int64_t FileSizeOf(const QString& path);

// The extension of the file name (from its last dot, dot included, folders ignored), trimmed
// and lower-cased, is not empty and occurs inside the lower-cased filter: for ".avi", the
// extensions ".avi", ".AVI", ".av", ".a" and a bare "." pass; ".mpg" and none fail.
bool PassesExtensionRule(const QString& path, const QString& filter = QStringLiteral(".avi"));

// The full paths of the entries of folder that are not folders (hidden files included, no
// sub-folders searched) and pass the extension rule, in the order the file system lists them.
QStringList FindFiles(const QString& folder, const QString& filter = QStringLiteral(".avi"));

// The dropped URLs that are local, existing files (folders are left out) passing the extension
// rule, in drop order.
QStringList GetDroppedFiles(const QList<QUrl>& urls, const QString& filter = QStringLiteral(".avi"));

// The positions, last first, of the rows to delete so that no two names are equal without
// regard to case; of equal names the one nearer the top stays.
std::vector<int> DuplicateRows(const QStringList& names);

// The texts of one row that sorting looks at.
struct RowTexts {
    QString caption;   // column "Name"
    QString info;      // column "Imformation" (sub-item 0)
    QString size;      // column "Size" (sub-item 1)
    QString fullName;  // column "Full Name" (sub-item 2)
};

// The list's comparison for a header click on column: 0, 1 and 3 compare their texts by
// character codes (case-sensitive), 2 compares DigitsValue of the size texts; the result
// (1, 0 or -1) is negated when sortFlag is false. Any other column compares equal.
int CompareRows(const RowTexts& a, const RowTexts& b, int column, bool sortFlag);

} // namespace pellucor::app

#include "app/FileListRules.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace pellucor::app {

std::int64_t DigitsValue(const QString& text) {
    std::uint64_t value = 0;  // unsigned, so a very long digit run wraps instead of being UB
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9') value = value * 10 + static_cast<std::uint64_t>(c.unicode() - u'0');
    }
    return static_cast<std::int64_t>(value);
}

QString FormatSizeKB(std::int64_t bytes, const QLocale& locale) {
    // (bytes div 1024) + 0.5, rounded half away from zero: one more for the non-negative
    // quotients, the quotient itself for the negative ones.
    const std::int64_t whole = bytes / 1024;
    const std::int64_t kb = whole >= 0 ? whole + 1 : whole;
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(static_cast<qlonglong>(kb)) + QStringLiteral(" KB");
}

std::int64_t FileSizeOf(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

namespace {

QString ExtensionOf(const QString& path) {
    const QString name = path.trimmed().section(QLatin1Char('/'), -1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

} // namespace

bool PassesExtensionRule(const QString& path, const QString& filter) {
    const QString ext = ExtensionOf(path).trimmed().toLower();
    return !ext.isEmpty() && filter.trimmed().toLower().contains(ext);
}

QStringList FindFiles(const QString& folder, const QString& filter) {
    QStringList result;
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        if (PassesExtensionRule(entry.fileName(), filter)) result << entry.absoluteFilePath();
    }
    return result;
}

QStringList GetDroppedFiles(const QList<QUrl>& urls, const QString& filter) {
    QStringList result;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isFile() && PassesExtensionRule(path, filter)) result << path;
    }
    return result;
}

std::vector<int> DuplicateRows(const QStringList& names) {
    // Walking from the top and remembering the folded names seen gives the same rows as the
    // last-to-first walk against every row above, without its quadratic cost.
    std::vector<int> rows;
    QSet<QString> seen;
    seen.reserve(names.size());
    for (int i = 0; i < names.size(); ++i) {
        const QString folded = names[i].toCaseFolded();
        if (seen.contains(folded)) rows.push_back(i);
        else seen.insert(folded);
    }
    return {rows.rbegin(), rows.rend()};
}

namespace {

int Sign(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Character codes in code point order: the UTF-8 bytes compare the way the code points do.
int CompareCodes(const QString& a, const QString& b) {
    return Sign(a.toUtf8().compare(b.toUtf8()));
}

} // namespace

int CompareRows(const RowTexts& a, const RowTexts& b, int column, bool sortFlag) {
    int result = 0;
    switch (column) {
    case 0: result = CompareCodes(a.caption, b.caption); break;
    case 1: result = CompareCodes(a.info, b.info); break;
    case 3: result = CompareCodes(a.fullName, b.fullName); break;
    case 2: {
        const std::int64_t va = DigitsValue(a.size), vb = DigitsValue(b.size);
        result = va > vb ? 1 : (va < vb ? -1 : 0);
        break;
    }
    default: break;
    }
    return sortFlag ? result : -result;
}

} // namespace pellucor::app

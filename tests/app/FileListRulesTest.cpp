// The file list's rules without a window: digits, size texts, extensions, duplicates, sorting,
// and the files a folder or a drop contributes.
#include "app/FileListRules.h"

#include "fixtures/TempDir.h"

#include <QFile>
#include <QDir>

#include <fstream>

#include <gtest/gtest.h>

namespace pellucor::app {
namespace {

TEST(DigitsValue, ReadsEveryDigitAndSkipsTheRest) {
    const struct {
        const char* name;
        const char* text;
        std::int64_t expected;
    } cases[] = {
        {"grouped size", "1,501 KB", 1501},
        {"plain", "42", 42},
        {"no digits", "KB", 0},
        {"empty", "", 0},
        {"digits apart", "a1b2c3", 123},
        {"leading zeros", "007", 7},
        {"dotted group", "1.024 KB", 1024},
        {"thin space group", "1\u202f024 KB", 1024},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DigitsValue(QString::fromUtf8(c.text)), c.expected) << c.name;
}

TEST(DigitsValue, VeryLongDigitRunsWrapInsteadOfOverflowing) {
    // 2^64 + 5 wraps to 5; the point is that no undefined behaviour is reached (UBSan watches).
    EXPECT_EQ(DigitsValue(QStringLiteral("18446744073709551621")), 5);
}

TEST(FormatSizeKB, WholeKilobytesPlusOneHalfRoundedAwayFromZero) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const struct {
        const char* name;
        std::int64_t bytes;
        const QLocale& locale;
        const char* expected;
    } cases[] = {
        {"empty file", 0, english, "1 KB"},
        {"one byte", 1, english, "1 KB"},
        {"just under 1 KB", 1023, english, "1 KB"},
        {"exactly 1 KB", 1024, english, "2 KB"},
        {"the documented example", 1536000, english, "1,501 KB"},
        {"a megabyte", 1048576, english, "1,025 KB"},
        {"german separator", 1536000, german, "1.501 KB"},
        {"gigabytes", 5368709120LL, english, "5,242,881 KB"},
        {"negative rounds away from zero", -2048, english, "-2 KB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSizeKB(c.bytes, c.locale).toStdString(), c.expected) << c.name;
}

TEST(FormatSizeKB, KeepsTheSeparatorEvenWhereTheLocaleOmitsIt) {
    QLocale c = QLocale::c();  // the C locale omits group separators by default
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    EXPECT_EQ(DigitsValue(FormatSizeKB(1536000, c)), 1501);
    EXPECT_TRUE(FormatSizeKB(1536000, QLocale(QLocale::English)).contains(QLatin1Char(',')));
}

TEST(ExtensionRule, PassesWhatOccursInsideDotAvi) {
    const struct {
        const char* path;
        bool passes;
    } cases[] = {
        {"/v/clip.avi", true},      {"/v/CLIP.AVI", true},    {"/v/clip.Avi", true},
        {"/v/clip.av", true},       {"/v/clip.a", true},      {"/v/clip.", true},
        {"/v/clip.avi ", true},     {"/v/clip.mpg", false},   {"/v/clip", false},
        {"/v/clip.avix", false},    {"/v.avi/clip", false},   {"/v/clip.tar.avi", true},
        {"/v/.avi", true},          {"", false},              {"/v/clip.vi", false},
    };
    for (const auto& c : cases) EXPECT_EQ(PassesExtensionRule(QString::fromUtf8(c.path)), c.passes) << c.path;
}

TEST(DuplicateRows, KeepsTheRowNearestTheTopOfEachCaseInsensitiveName) {
    const struct {
        const char* name;
        QStringList names;
        std::vector<int> removed;  // last first
    } cases[] = {
        {"none", {"a.avi", "b.avi"}, {}},
        {"same twice", {"clip.avi", "clip.avi"}, {1}},
        {"case differs", {"clip.avi", "CLIP.avi"}, {1}},
        {"three alike apart", {"x.avi", "a.avi", "X.AVI", "b.avi", "x.Avi"}, {4, 2}},
        {"empty list", {}, {}},
        {"non-ascii case", {"Ärger.avi", "ärger.avi"}, {1}},
    };
    for (const auto& c : cases) EXPECT_EQ(DuplicateRows(c.names), c.removed) << c.name;
}

TEST(CompareRows, ColumnsAndDirection) {
    const RowTexts small{"b.avi", "", "9 KB", "/z/b.avi"};
    const RowTexts big{"a.avi", "x", "1,024 KB", "/a/a.avi"};
    const RowTexts upper{"B.avi", "", "10 KB", "/z/B.avi"};
    const struct {
        const char* name;
        const RowTexts& a;
        const RowTexts& b;
        int column;
        bool flag;
        int expected;
    } cases[] = {
        {"name ascending", big, small, 0, true, -1},
        {"name descending", big, small, 0, false, 1},
        {"name equal", small, small, 0, true, 0},
        {"name is case-sensitive, upper first", upper, small, 0, true, -1},
        {"info", big, small, 1, true, 1},
        {"size is numeric, 9 before 1,024", small, big, 2, true, -1},
        {"size 9 before 10", small, upper, 2, true, -1},
        {"size descending", small, big, 2, false, 1},
        {"full name", big, small, 3, true, -1},
        {"taken column compares equal", big, small, 4, true, 0},
        {"negative column compares equal", big, small, -1, false, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CompareRows(c.a, c.b, c.column, c.flag), c.expected) << c.name;
}

void Touch(const std::filesystem::path& p, std::size_t bytes = 0) {
    std::ofstream out(p, std::ios::binary);
    out << std::string(bytes, 'x');
}

TEST(FindFiles, FilesOfTheFolderOnlyThatPassTheRule) {
    fixtures::TempDir dir;
    Touch(dir.path() / "clip.avi");
    Touch(dir.path() / ".hidden.avi");
    Touch(dir.path() / "movie.mpg");
    Touch(dir.path() / "noext");
    std::filesystem::create_directory(dir.path() / "sub.avi");  // a folder with a passing name
    std::filesystem::create_directory(dir.path() / "sub");
    Touch(dir.path() / "sub" / "deep.avi");

    QStringList found = FindFiles(QString::fromStdString(dir.path().string()));
    found.sort();
    const QString base = QString::fromStdString(dir.path().string());
    EXPECT_EQ(found, (QStringList{base + "/.hidden.avi", base + "/clip.avi"}));
    EXPECT_TRUE(FindFiles(base + "/missing").isEmpty());
}

TEST(GetDroppedFiles, ExistingLocalFilesPassingTheRuleInDropOrder) {
    fixtures::TempDir dir;
    const QString base = QString::fromStdString(dir.path().string());
    Touch(dir.path() / "b.avi");
    Touch(dir.path() / "a.AVI");
    Touch(dir.path() / "c.mpg");
    std::filesystem::create_directory(dir.path() / "folder.avi");
    const QList<QUrl> urls{
        QUrl::fromLocalFile(base + "/b.avi"),      QUrl::fromLocalFile(base + "/c.mpg"),
        QUrl::fromLocalFile(base + "/folder.avi"), QUrl::fromLocalFile(base + "/gone.avi"),
        QUrl(QStringLiteral("https://example.org/x.avi")), QUrl::fromLocalFile(base + "/a.AVI"),
    };
    EXPECT_EQ(GetDroppedFiles(urls), (QStringList{base + "/b.avi", base + "/a.AVI"}));
}

TEST(FileSizeOf, SizeOfAFileAndZeroOtherwise) {
    fixtures::TempDir dir;
    Touch(dir.path() / "f.avi", 3000);
    const QString base = QString::fromStdString(dir.path().string());
    EXPECT_EQ(FileSizeOf(base + "/f.avi"), 3000);
    EXPECT_EQ(FileSizeOf(base + "/missing.avi"), 0);
    EXPECT_EQ(FileSizeOf(base), 0);
}

} // namespace
} // namespace pellucor::app

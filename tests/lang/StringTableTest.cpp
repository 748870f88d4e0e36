// LoadStringTable, and the texts the shipped English.lng gives the program.
#include "lang/StringTable.h"

#include "lang/IniFile.h"
#include "lang/TextDecoding.h"

#include "fixtures/TempDir.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace pellucor::lang {
namespace {

TEST(StringTable, ReplaceLineBreaks) {
    struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"", ""},           {"a||b", "a\r\nb"},    {"||", "\r\n"},        {"a|b", "a|b"},
        {"|||", "\r\n|"},   {"||||", "\r\n\r\n"},  {"x||", "x\r\n"},      {"|", "|"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReplaceLineBreaks(c.text, "\r\n"), c.expected) << c.text;
}

TEST(StringTable, LoadFillsEntriesByDecimalKey) {
    fixtures::TempDir folder;
    const std::string file = folder.write("German.lng",
        "[Strings]\n"
        "0=zero\n"
        "12=\n"                                    // empty: entry 12 keeps what it had
        "13=Remove||the selected\n"
        "014=leading zero is another key\n"
        "15=C:\\Temp \\\"x\\\" \"quoted\" a=b\n"   // backslashes, quotes and '=' stay as written
        "16=\"  whole value quoted  \"\n"          // the INI rule strips one pair of quotes
        " 17 = blanks around the key \n"
        "+18=signed\n"
        "0x13=hex\n"
        "450=last\n"
        "451=past the end\n"
        "[Other]\n"
        "20=other section\n").string();

    std::vector<std::string> table(452, "old");
    LoadStringTable(std::span(table).first(451), 450, file, "strings");

    struct {
        int index;
        std::string expected;
    } cases[] = {
        {0, "zero"},
        {1, "old"},
        {12, "old"},
        {13, "Remove\r\nthe selected"},
        {14, "old"},
        {15, "C:\\Temp \\\"x\\\" \"quoted\" a=b"},
        {16, "  whole value quoted  "},
        {17, "blanks around the key"},
        {18, "old"},
        {19, "old"},
        {20, "old"},
        {450, "last"},
        {451, "old"},  // beyond the span handed over: never touched
    };
    for (const auto& c : cases) EXPECT_EQ(table[c.index], c.expected) << "entry " << c.index;
}

TEST(StringTable, LoadStopsAtTheHighestIndexAndTheTableEnd) {
    fixtures::TempDir folder;
    const std::string file = folder.write("t.lng", "[Strings]\n2=two\n3=three\n9=nine\n").string();
    std::vector<std::string> table(10);
    LoadStringTable(table, 2, file, "Strings");
    EXPECT_EQ(table[2], "two");
    EXPECT_EQ(table[3], "");

    std::vector<std::string> small(4);
    LoadStringTable(small, 450, file, "Strings");  // a highest index past the table is cut to it
    EXPECT_EQ(small[3], "three");
}

TEST(StringTable, MissingFileLeavesEveryEntryAsItWas) {
    fixtures::TempDir folder;
    std::vector<std::string> table(451, "kept");
    LoadStringTable(table, 450, (folder.path() / "missing.lng").string(), "Strings");
    EXPECT_EQ(std::count(table.begin(), table.end(), "kept"), 451);
}

TEST(StringTable, GlobalTableHas451EntriesAndLoadsLikeAnyOther) {
    static_assert(std::tuple_size_v<TStringTable> == 451);
    fixtures::TempDir folder;
    const std::string file = folder.write("g.lng", "[Strings]\n24=The log directory||is missing\n").string();
    const std::string before = StringTable[24];
    LoadStringTable(StringTable, kStringTableHighest, file, "Strings");
    EXPECT_EQ(StringTable[24], "The log directory\r\nis missing");
    StringTable[24] = before;
}

// The shipped English.lng: every text the program shows (entries 12 to 24) is there, and the
// file reads as clean UTF-8 with a [Font] section the forms can use.
TEST(StringTable, ShippedEnglishFileFillsTheShownEntries) {
    const std::string path = std::string(PELLUCOR_DATA_DIR) + "/English.lng";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(IsValidUtf8(bytes));

    const IniFile ini{std::filesystem::path(path)};
    EXPECT_TRUE(ini.sectionExists("Font"));
    EXPECT_EQ(ini.readString("Font", "BiDiMode", ""), "0");

    std::vector<std::string> table(451);
    LoadStringTable(table, 450, path, "Strings");
    for (int i = 12; i <= 24; ++i) {
        EXPECT_FALSE(table[i].empty()) << "entry " << i;
        EXPECT_EQ(table[i].find("||"), std::string::npos) << "entry " << i;
    }
    // Entry 13 is followed by " <n> items", so it must not end a sentence before the count.
    EXPECT_NE(table[13].back(), '.');
    EXPECT_NE(table[13].back(), '?');
}

} // namespace
} // namespace pellucor::lang

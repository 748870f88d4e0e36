// The INI reader against the private-profile rules that language files were written for.
#include "lang/IniFile.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

namespace pellucor::lang {
namespace {

struct StringCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    std::string expected;
};

const std::string kDefault = "<default>";

TEST(IniFile, ReadStringFollowsTheProfileRules) {
    const StringCase cases[] = {
        {"section name ignores case", "[Font]\nSize=9\n", "FONT", "Size", "9"},
        {"key name ignores case", "[s]\nKeyName=v\n", "s", "KEYNAME", "v"},
        {"blanks around key and value dropped", "[s]\n  \t key \t=  value  with  inner \t\n", "s",
         "key", "value  with  inner"},
        {"blanks around the section name dropped", "[  Strings  ]\n12=x\n", "strings", "12", "x"},
        {"double quotes stripped, inner blanks kept", "[s]\nk=\"  quoted  \"\n", "s", "k", "  quoted  "},
        {"single quotes stripped", "[s]\nk='x'\n", "s", "k", "x"},
        {"blanks outside the quotes dropped first", "[s]\nk=   \"x\"   \n", "s", "k", "x"},
        {"only one pair of quotes stripped", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
        {"empty quotes give an empty value", "[s]\nk=\"\"\n", "s", "k", ""},
        {"mismatched quotes kept", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
        {"a lone quote is kept", "[s]\nk=\"\n", "s", "k", "\""},
        {"unbalanced quote kept", "[s]\nk=\"abc\n", "s", "k", "\"abc"},
        {"quotes not around the whole value kept", "[s]\nk=\"a=b\" c\n", "s", "k", "\"a=b\" c"},
        {"first of a duplicate key counts", "[s]\nk=1\nK=2\n", "s", "k", "1"},
        {"a repeated section continues the first", "[a]\nx=1\n[b]\ny=2\n[A]\nz=3\n", "a", "z", "3"},
        {"duplicate across a repeated section", "[a]\nx=1\n[b]\n[a]\nx=2\n", "a", "x", "1"},
        {"value runs past further equals signs", "[s]\nk=a=b=c\n", "s", "k", "a=b=c"},
        {"empty value is empty, not the default", "[s]\nk=\n", "s", "k", ""},
        {"missing key gives the default", "[s]\nk=v\n", "s", "other", kDefault},
        {"missing section gives the default", "[s]\nk=v\n", "t", "k", kDefault},
        {"keys before the first section belong to none", "k=v\n[s]\n", "s", "k", kDefault},
        {"comment lines are skipped", "[s]\n;k=1\nk=2\n", "s", "k", "2"},
        {"lines without equals sign are skipped", "[s]\nk\nk=v\n", "s", "k", "v"},
        {"CR LF line ends", "[s]\r\nk=v\r\nm=w\r\n", "s", "k", "v"},
        {"lone CR line ends", "[s]\rk=v\rm=w\r", "s", "m", "w"},
        {"no line end at the end of the file", "[s]\nk=v", "s", "k", "v"},
        {"section name runs to the last bracket", "[a]b]\nk=v\n", "a]b", "k", "v"},
        {"a bracket line without close is no header", "[s]\n[broken\nk=v\n", "s", "k", "v"},
        {"backslash at the end is plain text", "[s]\nk=abc\\\n", "s", "k", "abc\\"},
        {"key with three dots is just a key", "[f]\na.b.c=v\n", "f", "A.B.C", "v"},
        {"keys are not numbers: 013 is not 13", "[s]\n013=x\n", "s", "13", kDefault},
        {"empty key is skipped", "[s]\n=v\n", "s", "", kDefault},
        {"empty text", "", "s", "k", kDefault},
    };
    for (const StringCase& c : cases) {
        const IniFile ini = IniFile::FromText(c.text);
        EXPECT_EQ(ini.readString(c.section, c.key, kDefault), c.expected) << c.name;
    }
}

TEST(IniFile, ValueIsSeenUpToItsFirst2047Characters) {
    struct {
        const char* name;
        std::string value;
        std::string expected;
    } cases[] = {
        {"5000 ASCII characters", std::string(5000, 'x'), std::string(2047, 'x')},
        {"exactly 2047 kept whole", std::string(2047, 'y'), std::string(2047, 'y')},
        {"counted in characters, not bytes", [] { std::string s; for (int i = 0; i < 3000; ++i) s += "\xC3\xA9"; return s; }(),
         [] { std::string s; for (int i = 0; i < 2047; ++i) s += "\xC3\xA9"; return s; }()},
        {"quotes stripped before cutting", "\"" + std::string(2047, 'q') + "\"", std::string(2047, 'q')},
        {"long quoted value loses its closing quote to the cut", "\"" + std::string(2100, 'q') + "\"",
         std::string(2047, 'q')},
    };
    for (const auto& c : cases) {
        const IniFile ini = IniFile::FromText("[s]\nk=" + c.value + "\nnext=1\n");
        EXPECT_EQ(ini.readString("s", "k", ""), c.expected) << c.name;
        EXPECT_EQ(ini.readString("s", "next", ""), "1") << c.name << ": the next line is intact";
    }
}

TEST(IniFile, ReadIntegerTakesDecimalAndHexOrTheDefault) {
    struct {
        const char* value;
        std::int32_t expected;
    } cases[] = {
        {"10", 10},          {"-1", -1},          {"+7", 7},            {"0x1F", 31},
        {"0X1f", 31},        {"0xFFFFFFFF", -1},  {"0x7FFFFFFF", 2147483647},
        {"'42'", 42},        {"  42  ", 42},      {"-2147483648", -2147483647 - 1},
        // Unreadable integers count as missing.
        {"12abc", -99},      {"", -99},           {"0x", -99},          {"0x100000000", -99},
        {"2147483648", -99}, {"1.5", -99},        {"ten", -99},         {"$1F", -99},
        {"- 5", -99},        {"+-5", -99},        {"-0x5", -99},        {"0xG", -99},
    };
    for (const auto& c : cases) {
        const IniFile ini = IniFile::FromText(std::string("[Font]\nSize=") + c.value + "\n");
        EXPECT_EQ(ini.readInteger("font", "size", -99), c.expected) << "value '" << c.value << "'";
    }
    EXPECT_EQ(IniFile::FromText("[Font]\n").readInteger("Font", "Size", -1), -1);
}

TEST(IniFile, KeyListIsInFileOrderWithoutRepeats) {
    const IniFile ini = IniFile::FromText(
        "[frmPellucor]\nlbl6.Caption=a\n btnAdd.Hint = b \n;comment=x\nLBL6.caption=c\n"
        "nothing\n.Caption=d\n[other]\nz=1\n");
    EXPECT_EQ(ini.readSection("FRMPELLUCOR"),
              (std::vector<std::string>{"lbl6.Caption", "btnAdd.Hint", ".Caption"}));
    EXPECT_EQ(ini.readSectionValues("frmpellucor"),
              (std::vector<std::string>{"lbl6.Caption=a", "btnAdd.Hint=b", ".Caption=d"}));
    EXPECT_TRUE(ini.readSection("missing").empty());
    EXPECT_TRUE(ini.sectionExists("OTHER"));
    EXPECT_FALSE(ini.sectionExists("missing"));
}

TEST(IniFile, SectionValuesCarryTheValueAsReadStringGivesIt) {
    const IniFile ini = IniFile::FromText("[f]\nlbl2.Caption = \"a=b\" \nlbl3.Caption=\"a=b\" c\n");
    EXPECT_EQ(ini.readSectionValues("f"),
              (std::vector<std::string>{"lbl2.Caption=a=b", "lbl3.Caption=\"a=b\" c"}));
}

TEST(IniFile, KeyListStopsAtTheFirstKeyThatDoesNotFit16384Bytes) {
    // 200 keys of 99 characters take 100 bytes each with their zero byte: 163 fit.
    std::string text = "[s]\n";
    for (int i = 0; i < 200; ++i) {
        std::string key = std::to_string(1000 + i);
        key.resize(99, 'k');
        text += key + "=v\n";
    }
    const std::vector<std::string> keys = IniFile::FromText(text).readSection("s");
    ASSERT_EQ(keys.size(), 163u);
    EXPECT_EQ(keys.front().substr(0, 4), "1000");
    EXPECT_EQ(keys.back().substr(0, 4), "1162");

    struct {
        const char* name;
        std::size_t firstKeyLength;
        std::size_t expectedKeys;
    } cases[] = {
        {"a key that fills the list exactly", IniFile::kKeyListBytes - 1, 1},
        {"one byte too long: nothing fits, not even the short key after it", IniFile::kKeyListBytes, 0},
    };
    for (const auto& c : cases) {
        const IniFile ini = IniFile::FromText("[s]\n" + std::string(c.firstKeyLength, 'a') + "=1\nb=2\n");
        EXPECT_EQ(ini.readSection("s").size(), c.expectedKeys) << c.name;
        EXPECT_EQ(ini.readString("s", "b", ""), "2") << c.name << ": the key is still readable";
    }
}

TEST(IniFile, MissingOrUnreadableFilesReadAsEmpty) {
    fixtures::TempDir folder;
    const std::filesystem::path paths[] = {
        folder.path() / "missing.lng",
        folder.path(),  // a folder, not a file
        folder.write("empty.lng", ""),
        folder.write("blank.lng", "\n\r\n   \n"),
    };
    for (const auto& path : paths) {
        const IniFile ini(path);
        EXPECT_EQ(ini.readString("Font", "Name", "d"), "d") << path;
        EXPECT_EQ(ini.readInteger("Font", "Size", -1), -1) << path;
        EXPECT_TRUE(ini.readSection("Strings").empty()) << path;
    }
}

TEST(IniFile, ReadsFilesWithByteOrderMarkAndCrLf) {
    fixtures::TempDir folder;
    const IniFile ini(folder.write("bom.lng", "\xEF\xBB\xBF[Strings]\r\n12=Ordner w\xC3\xA4hlen\r\n"));
    EXPECT_EQ(ini.readString("Strings", "12", ""), "Ordner w\xC3\xA4hlen");
}

} // namespace
} // namespace pellucor::lang

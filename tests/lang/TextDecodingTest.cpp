// Language files in UTF-8, and older 8-bit ones decoded in the code page their CharSet names.
#include "lang/TextDecoding.h"

#include "lang/IniFile.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

namespace pellucor::lang {
namespace {

TEST(TextDecoding, IsValidUtf8) {
    struct {
        const char* name;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"ASCII", "abc", true},
        {"empty", "", true},
        {"two-byte", "\xC3\xA9", true},
        {"three-byte", "\xE2\x82\xAC", true},
        {"four-byte", "\xF0\x9F\x98\x80", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"overlong two-byte", "\xC0\x80", false},
        {"overlong three-byte", "\xE0\x80\x80", false},
        {"overlong four-byte", "\xF0\x80\x80\x80", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false},
        {"lone continuation byte", "a\x80" "b", false},
        {"cut-off sequence at the end", "a\xE2\x82", false},
        {"lead byte F5", "\xF5\x80\x80\x80", false},
        {"CP1251 text", "\xCF\xF0\xE8\xE2\xE5\xF2", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.name;
}

// An 8-bit language file: the [Font] CharSet picks the code page of the whole file.
TEST(TextDecoding, EightBitFilesAreDecodedInTheCodePageOfTheirCharSet) {
    struct {
        const char* charset;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"", "\xE9t\xE9 \x80", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},  // no CharSet: CP1252
        {"ANSI_CHARSET", "\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
        {"DEFAULT", "\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
        {"Russian", "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
        {"EASTEUROPE_CHARSET", "\x8A", "\xC5\xA0"},
        {"GREEK", "\xC1", "\xCE\x91"},
        {"TURKISH", "\xF0", "\xC4\x9F"},
        {"HEBREW", "\xE0", "\xD7\x90"},
        {"ARABIC", "\xC7", "\xD8\xA7"},
        {"BALTIC", "\xD0", "\xC5\xA0"},
        {"THAI", "\xA1", "\xE0\xB8\x81"},
        {"SHIFTJIS", "\x82\xA0", "\xE3\x81\x82"},
        {"HANGEUL", "\xB0\xA1", "\xEA\xB0\x80"},
        {"GB2312", "\xC4\xE3", "\xE4\xBD\xA0"},
        {"CHINESEBIG5", "\xA7\x41", "\xE4\xBD\xA0"},
        {"NoSuchCharset", "\xE9", "\xC3\xA9"},
    };
    for (const auto& c : cases) {
        const std::string file =
            std::string("[Font]\r\nCharSet=") + c.charset + "\r\n[Strings]\r\n12=" + c.bytes + "\r\n";
        const IniFile ini = IniFile::FromText(DecodeLanguageText(file));
        EXPECT_EQ(ini.readString("Strings", "12", "<missing>"), c.expected) << "CharSet " << c.charset;
    }
}

TEST(TextDecoding, WhatCannotBeDecodedBecomesAReplacementCharacter) {
    struct {
        const char* name;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"byte undefined in CP1252", "[Strings]\n1=a\x81" "b\n2=\xE9\n",
         "[Strings]\n1=a\xEF\xBF\xBD" "b\n2=\xC3\xA9\n"},
        {"double-byte character cut off by the end of the file", "[Font]\nCharSet=SHIFTJIS\n1=\x82\xA0\x82",
         "[Font]\nCharSet=SHIFTJIS\n1=\xE3\x81\x82\xEF\xBF\xBD"},
        {"UTF-8 with a byte-order mark and a stray byte", "\xEF\xBB\xBF" "a\xFF" "b", "a\xEF\xBF\xBD" "b"},
        {"valid UTF-8 stays UTF-8 whatever CharSet says", "[Font]\nCharSet=RUSSIAN\n1=\xC3\xA9",
         "[Font]\nCharSet=RUSSIAN\n1=\xC3\xA9"},
        {"UTF-16LE with byte-order mark", std::string("\xFF\xFE" "a\0\xE9\0", 6), "a\xC3\xA9"},
        {"UTF-16BE with byte-order mark", std::string("\xFE\xFF\0a\0\xE9", 6), "a\xC3\xA9"},
        {"odd byte at the end of UTF-16", std::string("\xFF\xFE" "a\0b", 5), "a\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        const std::string decoded = DecodeLanguageText(c.bytes);
        EXPECT_EQ(decoded, c.expected) << c.name;
        EXPECT_TRUE(IsValidUtf8(decoded)) << c.name;
    }
}

TEST(TextDecoding, LongEightBitFileIsDecodedWhole) {
    // Longer than iconv's output buffer, so the conversion has to go round more than once.
    std::string bytes = "[Font]\nCharSet=RUSSIAN_CHARSET\n[Strings]\n12=";
    for (int i = 0; i < 5000; ++i) bytes += "\xCF";
    std::string expected;
    for (int i = 0; i < 2047; ++i) expected += "\xD0\x9F";
    fixtures::TempDir folder;
    const IniFile ini(folder.write("Russian.lng", bytes));
    EXPECT_EQ(ini.readString("Strings", "12", ""), expected);
}

TEST(TextDecoding, UnknownEncodingFallsBackToRepairedText) {
    EXPECT_EQ(ConvertToUtf8("a\xFF", "NO-SUCH-ENCODING"), "a\xEF\xBF\xBD");
}

} // namespace
} // namespace pellucor::lang

// Fuzz target: reading a language file (lang/IniFile.h, TextDecoding.h), loading the string table
// from it (LoadStringTable) and taking its lines apart (SplitText), as the start-up and every form
// do with whatever file the user chose.
//
// What must hold for any file:
// - the decoded text is valid UTF-8, whatever the bytes and the code page;
// - a value is at most 2047 characters, a section's key list fits 16384 bytes with a zero byte
//   after each key, keys are found again whatever their case, readSectionValues matches
//   readSection;
// - LoadStringTable fills exactly the entries whose keys have a value, with "||" turned into line
//   breaks, and never writes past the table it is given;
// - SplitText gives at least one piece, never more bytes than it was given, and without escapes
//   or quotes in the text the pieces joined by the separator are the text again.
#include "FuzzSupport.h"

#include "lang/AsciiText.h"
#include "lang/IniFile.h"
#include "lang/SplitText.h"
#include "lang/StringTable.h"
#include "lang/TextDecoding.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

using namespace pellucor::lang;
using pellucor::fuzz::AsText;
using pellucor::fuzz::ScratchFolder;
using pellucor::fuzz::Shown;

namespace {

std::size_t Utf8Chars(std::string_view text) {
    std::size_t chars = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;
    return chars;
}

// Section names to ask for: every "[...]" line of the text, and the ones the program asks for.
std::set<std::string> SectionNames(std::string_view text) {
    std::set<std::string> names{"Font", "Strings", "frmPellucor", "UfrmEdit"};
    std::size_t pos = 0;
    while (pos < text.size() && names.size() < 64) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        const std::size_t close = line.rfind(']');
        if (!line.empty() && line.front() == '[' && close != std::string_view::npos)
            names.insert(std::string(TrimBlanks(line.substr(1, close - 1))));
        pos = end + 1;
    }
    return names;
}

void CheckSplit(std::string_view text, std::string_view separator, char escape, std::string_view quotes) {
    const std::vector<std::string> pieces = SplitText(text, separator, escape, quotes);
    FUZZ_CHECK(!pieces.empty(), "SplitText gave no piece for " + Shown(text));
    std::size_t bytes = 0;
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        bytes += pieces[i].size();
        if (i > 0) joined += separator;
        joined += pieces[i];
    }
    FUZZ_CHECK(bytes <= text.size(), "SplitText made text up from " + Shown(text));
    const bool plain = text.find(escape) == std::string_view::npos &&
                       text.find_first_of(quotes) == std::string_view::npos;
    if (plain && !separator.empty())
        FUZZ_CHECK(joined == text, "SplitText pieces of " + Shown(text) + " at " + Shown(separator) +
                                       " join to " + Shown(joined));
}

void CheckSection(const IniFile& ini, const std::string& section) {
    const std::vector<std::string> keys = ini.readSection(section);
    const std::vector<std::string> lines = ini.readSectionValues(section);
    FUZZ_CHECK(keys.size() == lines.size(), "readSectionValues and readSection of " + Shown(section) + " differ");
    std::size_t listBytes = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string& key = keys[i];
        listBytes += key.size() + 1;
        const std::string value = ini.readString(section, key, "\x01missing");
        FUZZ_CHECK(value != "\x01missing", "listed key " + Shown(key) + " has no value");
        FUZZ_CHECK(Utf8Chars(value) <= IniFile::kMaxValueChars, "value of " + Shown(key) + " is too long");
        FUZZ_CHECK(ini.readString(AsciiUpper(section), AsciiUpper(key), "") == value,
                   "key " + Shown(key) + " is not found in upper case");
        FUZZ_CHECK(lines[i] == key + "=" + value, "section line " + Shown(lines[i]) + " is not key=value");
        ini.readInteger(section, key, -7);
        // What ApplyLanguage does with a form's line, and what list properties do with values.
        CheckSplit(lines[i], "=", '\\', "\"");
        CheckSplit(key, ".", '\\', "\"");
        CheckSplit(value, "||", '\\', "\"");
    }
    FUZZ_CHECK(listBytes <= IniFile::kKeyListBytes, "the key list of " + Shown(section) + " is too long");
}

void CheckStringTable(const IniFile& ini, const std::string& file) {
    std::array<std::string, kStringTableHighest + 1> table;
    LoadStringTable(table, kStringTableHighest, file, "Strings");
    for (int i = 0; i <= kStringTableHighest; ++i) {
        const std::string raw = ini.readString("Strings", std::to_string(i), "");
        const std::string& entry = table[static_cast<std::size_t>(i)];
        FUZZ_CHECK(entry == ReplaceLineBreaks(raw, "\r\n"),
                   "string table entry " + std::to_string(i) + " is " + Shown(entry) + " for " + Shown(raw));
        FUZZ_CHECK(entry.find("||") == std::string::npos, "entry " + std::to_string(i) + " kept a \"||\"");
    }
    // A table shorter than the indexes asked for is filled only as far as it reaches; the
    // sanitizer sees any write past it.
    std::vector<std::string> small(3);
    LoadStringTable(small, kStringTableHighest, file, "Strings");
    LoadStringTable(small, -5, file, "Strings");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    const std::string_view bytes = AsText(data, size);
    const std::string text = DecodeLanguageText(bytes);
    FUZZ_CHECK(IsValidUtf8(text), "the decoded language text is not UTF-8: " + Shown(text));

    const std::filesystem::path file = ScratchFolder::write(ScratchFolder::get(), "language.lng", bytes);
    const IniFile ini(file);
    for (const std::string& section : SectionNames(text)) CheckSection(ini, section);
    CheckStringTable(ini, file.string());
    return 0;
}

#pragma once
// The ".reg" text of a hive ("Windows Registry Editor Version 5.00"), parsed into keys and values
// and written back.
//
// The model keeps everything the file said: lines we do not understand (comments, deletion
// entries, data forms of other tools) stay in place as raw text, and a value that nobody changed
// is written back in its original lines. Only values that are replaced get new text. So a
// hand-edited or foreign hive survives our saves.
//
// Value data is held as the bytes the registry would hold, with one exception that keeps our
// files readable: a REG_SZ written as "text" holds its UTF-8 bytes plus a NUL, while any hex(N)
// form (REG_EXPAND_SZ included, which the format stores as UTF-16LE) keeps exactly the bytes
// written, so unknown types go back byte for byte.
//
// Pure text handling: no file system, no locks (RegFileStore does those).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellucor::platform::regfile {

inline constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

struct RegValue {
    std::uint32_t type = 0;           // REG_* number
    std::vector<std::uint8_t> data;   // see the header comment
    bool quoted = false;              // REG_SZ written as "text" (data is UTF-8 + NUL)
};

// One line (or a run of continued lines) inside a key.
struct Entry {
    bool isValue = false;
    std::string name;                 // value name, "" for the default value "@"
    RegValue value;
    std::vector<std::string> lines;   // the text as read or as last formatted
};

struct Section {
    std::string path;                 // as written between the brackets, e.g. "HKEY_CURRENT_USER\\..."
    std::string headerLine;           // the original "[...]" line
    std::vector<Entry> entries;
};

struct Hive {
    std::vector<std::string> preamble;  // unknown lines between the header and the first key
    std::vector<Section> sections;

    Section* findSection(std::string_view path);
    const Section* findSection(std::string_view path) const;
    // True when the key or any key below it is listed (a parent key exists with its children).
    bool keyExists(std::string_view path) const;
    Section& addSection(const std::string& path);
};

struct ParseResult {
    std::optional<Hive> hive;  // empty when the text is not a valid hive
    std::string error;         // why not, e.g. "line 7: unterminated text value"
};

// Parses UTF-8 text (an optional BOM skipped) or UTF-16LE text with its BOM, CRLF or LF lines.
ParseResult parse(std::string_view bytes);
std::string serialize(const Hive& hive);

// Case-insensitive (ASCII) comparison, as the registry compares key and value names.
bool equalsNoCase(std::string_view a, std::string_view b);

// Lines for one value, long hex data wrapped with "\" at about 80 columns.
std::vector<std::string> formatValue(const std::string& name, const RegValue& value);

// Text <-> data conversions used by RegistryKey (RegFileText.cpp).
bool isUtf8(std::string_view text);
// Why bytes are not hive text (not UTF-8, NULs or other control characters), "" when they are.
std::string findTextProblem(std::string_view text);
std::vector<std::uint8_t> utf16leWithNul(std::string_view utf8);
std::string utf16leToUtf8(const std::vector<std::uint8_t>& bytes);  // up to the first NUL

// Finds a value by name (case-insensitive) in a section; nullptr when missing.
Entry* findValue(Section& section, std::string_view name);
const Entry* findValue(const Section& section, std::string_view name);

} // namespace pellucor::platform::regfile

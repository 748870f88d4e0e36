#pragma once
// Reading a language file the way the Windows private-profile functions read INI files, since
// the language files were written against exactly those rules:
//
// - "[name]" starts a section; "key=value" lines belong to the section above them; lines
//   starting with ';' are comments; lines without '=' and keys before the first section are
//   ignored. Lines end at LF, CR LF or a lone CR.
// - Section and key names are compared without regard to (ASCII) case. A section given twice
//   continues the first one.
// - Blanks around keys and values are dropped. A value enclosed in one pair of matching single
//   or double quotes is returned without them (blanks inside are kept).
// - A value is seen up to its first 2047 characters.
// - A key given twice in a section: the first value counts.
// - The key list of a section is in file order, as far as the keys fit into 16384 bytes with a
//   zero byte after each.
// - Integers are decimal, or hexadecimal after "0x"; an unreadable integer is the default.
// - A missing or unreadable file, or a missing section, reads as empty.
//
// An IniFile holds the whole file, read once at construction; it is a plain value that any
// thread may read.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellucor::lang {

class IniFile {
public:
    static constexpr std::size_t kMaxValueChars = 2047;
    static constexpr std::size_t kKeyListBytes = 16384;

    IniFile() = default;
    // Reads and decodes the file (see DecodeLanguageText). A missing file gives an empty IniFile.
    explicit IniFile(const std::filesystem::path& file);
    // Parses text that is already in memory, without decoding it.
    static IniFile FromText(std::string_view text);

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    bool sectionExists(std::string_view section) const;
    // The key names of a section, in file order, each spelled as at its first occurrence.
    std::vector<std::string> readSection(std::string_view section) const;
    // "key=value" for every key of readSection, with the value as readString gives it.
    std::vector<std::string> readSectionValues(std::string_view section) const;

private:
    struct Entry {
        std::string key;
        std::string value;  // trimmed, unquoted, cut to kMaxValueChars
    };
    struct Section {
        std::vector<Entry> entries;                      // distinct keys in file order
        std::unordered_map<std::string, std::size_t> index;  // lower-cased key -> entry
    };

    void parse(std::string_view text);
    const Section* findSection(std::string_view name) const;
    const Entry* findEntry(std::string_view section, std::string_view key) const;

    std::unordered_map<std::string, Section> sections_;  // lower-cased name -> section
};

} // namespace pellucor::lang

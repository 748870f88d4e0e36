#include "lang/IniFile.h"

#include "lang/AsciiText.h"
#include "lang/TextDecoding.h"

#include <fstream>
#include <iterator>

namespace pellucor::lang {

namespace {

// Byte length of the first maxChars UTF-8 characters of text.
std::size_t PrefixBytes(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80 && chars++ == maxChars) return i;  // a character starts here
    }
    return text.size();
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

IniFile::IniFile(const std::filesystem::path& file) {
    std::error_code ec;
    // A folder or a device under the language file's name reads as a missing file.
    if (!std::filesystem::is_regular_file(file, ec)) return;
    parse(DecodeLanguageText(ReadWholeFile(file)));
}

IniFile IniFile::FromText(std::string_view text) {
    IniFile ini;
    ini.parse(text);
    return ini;
}

void IniFile::parse(std::string_view text) {
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        const std::size_t lineEnd = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = TrimBlanks(text.substr(pos, lineEnd - pos));
        pos = lineEnd + 1;

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // The name runs to the last ']', so "[a]b]" is the section "a]b". A '[' line without
            // any ']' is no header; its keys would land in the section above, so it is dropped.
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos) continue;
            const std::string name = AsciiLower(TrimBlanks(line.substr(1, close - 1)));
            current = &sections_[name];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) continue;
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (key.empty()) continue;
        const auto [it, isNew] = current->index.emplace(AsciiLower(key), current->entries.size());
        if (!isNew) continue;  // the first of a duplicate key counts
        std::string_view value = StripQuotes(TrimBlanks(line.substr(equals + 1)));
        value = value.substr(0, PrefixBytes(value, kMaxValueChars));
        current->entries.push_back(Entry{std::string(key), std::string(value)});
    }
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
    const auto it = sections_.find(AsciiLower(name));
    return it == sections_.end() ? nullptr : &it->second;
}

const IniFile::Entry* IniFile::findEntry(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    if (s == nullptr) return nullptr;
    const auto it = s->index.find(AsciiLower(key));
    return it == s->index.end() ? nullptr : &s->entries[it->second];
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const Entry* entry = findEntry(section, key);
    return std::string(entry ? std::string_view(entry->value) : defaultValue);
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    const Entry* entry = findEntry(section, key);
    if (entry == nullptr) return defaultValue;
    return ParseInteger(entry->value).value_or(defaultValue);
}

bool IniFile::sectionExists(std::string_view section) const {
    return findSection(section) != nullptr;
}

std::vector<std::string> IniFile::readSection(std::string_view section) const {
    std::vector<std::string> keys;
    const Section* s = findSection(section);
    if (s == nullptr) return keys;
    std::size_t used = 0;
    for (const Entry& entry : s->entries) {
        // A key that does not fit ends the list: the profile functions cut the buffer there,
        // and a cut-off key would name something that is not in the file.
        used += entry.key.size() + 1;
        if (used > kKeyListBytes) break;
        keys.push_back(entry.key);
    }
    return keys;
}

std::vector<std::string> IniFile::readSectionValues(std::string_view section) const {
    std::vector<std::string> lines;
    for (const std::string& key : readSection(section))
        lines.push_back(key + "=" + readString(section, key, ""));
    return lines;
}

} // namespace pellucor::lang

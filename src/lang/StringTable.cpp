#include "lang/StringTable.h"

#include "lang/IniFile.h"

#include <algorithm>

namespace pellucor::lang {

TStringTable StringTable;
std::string LanguageFile;

std::string ReplaceLineBreaks(std::string_view text, std::string_view lineBreak) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, 2) == "||") {
            out += lineBreak;
            i += 2;
        } else {
            out += text[i++];
        }
    }
    return out;
}

void LoadStringTable(std::span<std::string> table, int highestIndex, const std::string& filePath,
                     std::string_view section) {
    const IniFile ini{std::filesystem::path(filePath)};
    const long last = std::min<long>(highestIndex, static_cast<long>(table.size()) - 1);
    for (long i = 0; i <= last; ++i) {
        const std::string text = ini.readString(section, std::to_string(i), "");
        if (!text.empty()) table[static_cast<std::size_t>(i)] = ReplaceLineBreaks(text, "\r\n");
    }
}

} // namespace pellucor::lang

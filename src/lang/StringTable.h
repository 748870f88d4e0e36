#pragma once
// The program's message and title texts, and the language file they came from.
//
// Both are filled once by the start-up, on the main thread, before any window exists, and only
// read afterwards. No text of the table is built into the program: an entry the language file
// lacks stays empty.
#include <array>
#include <span>
#include <string>
#include <string_view>

namespace pellucor::lang {

inline constexpr int kStringTableHighest = 450;
using TStringTable = std::array<std::string, kStringTableHighest + 1>;

// Entries 0 to 450; a line break written "||" in the file is held as CR LF.
extern TStringTable StringTable;
// Full path of the chosen language file (see FindLanguageFile).
extern std::string LanguageFile;

// For i from 0 to highestIndex (and no further than table reaches): the key i, in decimal
// without leading zeros, of section in the file at filePath. A non-empty value replaces entry i
// with every "||" turned into "\r\n"; an empty or missing one leaves entry i as it was. Neither
// backslashes nor quotes mean anything here.
void LoadStringTable(std::span<std::string> table, int highestIndex, const std::string& filePath,
                     std::string_view section);

// Every occurrence of "||" replaced by lineBreak, scanning left to right ("|||" is a break and a
// bar).
std::string ReplaceLineBreaks(std::string_view text, std::string_view lineBreak);

} // namespace pellucor::lang

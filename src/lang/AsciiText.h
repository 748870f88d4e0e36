#pragma once
// Small text helpers shared by the language code. Case is folded for ASCII letters only: names
// in language files (sections, keys, components, properties, charsets) are ASCII, and bytes of
// other scripts must never be changed by a case rule that does not know them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellucor::lang {

std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Blanks as the INI reader sees them: space, tab and the other ASCII white-space characters.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);

// An integer as language files write it: decimal with an optional sign, or hexadecimal after
// "0x" (up to eight digits, so "0xFFFFFFFF" is -1 as in a 32-bit register). Blanks around the
// number are allowed. Anything else, an out-of-range number included, gives nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);

} // namespace pellucor::lang

#pragma once
// Taking a line of a language file's form section apart.
#include <string>
#include <string_view>
#include <vector>

namespace pellucor::lang {

// Splits text at every occurrence of separator. The escape character makes the next character
// literal (an escape at the very end adds nothing); each character of quotes toggles a quoted
// stretch in which the separator has no meaning. Escapes and quotes are removed from the pieces.
// The result always holds at least one piece: "" gives {""}, a text without the separator gives
// itself. An empty separator never matches.
//
// separator, escape and quotes are ASCII; the text may be any UTF-8, since no byte of a
// multi-byte character can be mistaken for an ASCII one.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator,
                                   char escape = '\\', std::string_view quotes = "\"");

} // namespace pellucor::lang

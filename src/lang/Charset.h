#pragma once
// The [Font] CharSet of a language file: a GDI character-set name turned into its number.
#include <string_view>

namespace pellucor::lang {

// "RUSSIAN_CHARSET", "russian" and "Russian_Charset" all give 204. ASCII letters are compared
// without regard to case and "_CHARSET" may be left out; any other text, an empty one included,
// gives 1 (DEFAULT_CHARSET).
int CharsetFromName(std::string_view name);

} // namespace pellucor::lang

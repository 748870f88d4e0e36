#pragma once
// Small text routines on paths, shared by the monitor and the hot-directory mode.
// Paths are byte strings; '/' is the separator; only ASCII letters are ever lowered.
#include <string>
#include <string_view>

namespace pellucor::hotdir {

// text with a '/' appended, unless it is empty (stays empty) or already ends with '/'.
std::string AddTrailingSlash(std::string_view text);

// text without leading and trailing blanks and control characters (every byte up to 32), with
// A to Z lowered; every other byte, UTF-8 sequences included, is left as it is.
std::string LowerTrim(std::string_view text);

// text without leading and trailing blanks and control characters, case kept. The watched
// directory is cleaned this way: Linux names keep their case.
std::string TrimBlanks(std::string_view text);

// The extension of the last path component in lower case: from its last '.' to the end, the dot
// included; empty when that component has no dot.
std::string LowerFileExtension(std::string_view path);

// Whether a changed name is one the monitor waits for: always with an empty filter, otherwise
// when its extension is non-empty and occurs somewhere in the filter. So with ".avi" the
// extensions ".avi", ".av", ".a" and a bare "." pass, ".avi2" and no extension do not.
bool PassesExtFilter(std::string_view path, std::string_view extFilter);

} // namespace pellucor::hotdir

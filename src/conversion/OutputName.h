#pragma once
// Naming of conversion outputs.
#include <string>

namespace pellucor::conversion {

// The output extension of each format index (0 MPEG ... 5 MP3): ".mpeg", ".mp4", ".wmv", ".flv",
// ".mov", ".mp3". An index outside 0..5 gives an empty text.
std::string FormatExtension(int pageIndex);

// The file name of source without its folder and extension (everything before the last dot of
// the name; a name without a dot stays whole), followed by the extension of pageIndex.
std::string BuildOutputName(const std::string& source, int pageIndex);

// folder with a '/' appended unless it is empty or already ends with one.
std::string AddTrailingSlash(const std::string& folder);

// The file-name part of a path (everything after the last '/').
std::string FileNameOf(const std::string& path);

} // namespace pellucor::conversion

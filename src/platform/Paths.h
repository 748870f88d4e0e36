#pragma once
// Where things are on this machine: the running program, its data files, the user's documents.
#include <filesystem>
#include <string>

namespace pellucor::platform {

// Full path of the running program file (/proc/self/exe).
std::filesystem::path programFile();
// Folder of the running program file, with a trailing '/'.
std::string programDirectory();
// A data file shipped with the program (language files, Example.avi): the program's folder
// first, then ../share/pellucor beside it. When neither holds the file, the program-folder path.
std::filesystem::path dataFilePath(const std::string& name);
// The user's documents folder (XDG user dirs), without a trailing '/'.
std::string documentsFolder();

} // namespace pellucor::platform

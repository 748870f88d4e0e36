#pragma once
// Choosing the language file at start-up, and where the program's own files are.
//
// The registry value "Language" under Software\Tamrix\Pellucor names a file in the program's
// directory; without a usable value, or when the named file is missing, English.lng is used.
// Neither the registry nor any file is written here. Called once by the start-up, on the main
// thread, before any window exists.
#include <filesystem>
#include <string>

namespace pellucor::lang {

inline constexpr const char* kLanguageRegistryValue = "Software\\Tamrix\\Pellucor\\Language";
inline constexpr const char* kDefaultLanguageFile = "English.lng";

// The program's directory (with a trailing '/') followed by name, when that file exists or when
// the installed data folder ../share/pellucor beside it does not hold the file either; otherwise
// the file in that data folder. name is appended as text, so it stays relative to the program's
// directory even when it starts with '/'.
std::string ProgramFilePath(const std::string& name);
// The same for a given program directory, so tests can set up both places.
std::string ProgramFilePath(const std::string& name, const std::string& programDirectory);

// Where FindLanguageFile looks: the program's own hive and directory unless a test says otherwise.
struct LanguageFilePlaces {
    std::filesystem::path hive;    // empty: platform::defaultHivePath()
    std::string programDirectory;  // empty: platform::programDirectory()
};

// keyAndValue is a key path below HKEY_CURRENT_USER and a value name in one text, the part after
// the last backslash being the value name (kLanguageRegistryValue). The steps:
// 1. the string value, when the key exists ("English.lng" when it does not, empty when the value
//    is missing; a value of another type, or a hive that cannot be read, leaves "English.lng");
// 2. ".lng" appended unless the text already ends in it (ASCII case ignored);
// 3. ProgramFilePath of that;
// 4. when no such file exists, ProgramFilePath("English.lng"), whether that exists or not.
std::string FindLanguageFile(const std::string& keyAndValue, const LanguageFilePlaces& places = {});

} // namespace pellucor::lang

#include "lang/FindLanguageFile.h"

#include "lang/AsciiText.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <system_error>

namespace pellucor::lang {

namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string ReadLanguageValue(const std::string& keyAndValue, const std::filesystem::path& hive) {
    const std::size_t split = keyAndValue.rfind('\\');
    const std::string keyPath = split == std::string::npos ? std::string() : keyAndValue.substr(0, split);
    const std::string valueName = split == std::string::npos ? keyAndValue : keyAndValue.substr(split + 1);
    try {
        platform::RegistryKey key(hive.empty() ? platform::defaultHivePath() : hive);
        if (key.openKey(keyPath, false)) return key.readString(valueName);
    } catch (const std::exception&) {
        // A value of another type (RegistryError) or a hive that cannot be read: choosing a
        // language is no reason to stop the program, and English is always there to fall back on.
    }
    return kDefaultLanguageFile;
}

} // namespace

std::string ProgramFilePath(const std::string& name, const std::string& programDirectory) {
    std::string directory = programDirectory;
    if (directory.empty() || directory.back() != '/') directory += '/';
    const std::string beside = directory + name;
    if (FileExists(beside)) return beside;
    // An installed program keeps its data in <prefix>/share/pellucor beside <prefix>/bin.
    const std::filesystem::path prefix = std::filesystem::path(directory).parent_path().parent_path();
    const std::string shared = (prefix / "share" / "pellucor").string() + "/" + name;
    return FileExists(shared) ? shared : beside;
}

std::string ProgramFilePath(const std::string& name) {
    return ProgramFilePath(name, platform::programDirectory());
}

std::string FindLanguageFile(const std::string& keyAndValue, const LanguageFilePlaces& places) {
    const std::string programDirectory =
        places.programDirectory.empty() ? platform::programDirectory() : places.programDirectory;
    std::string name = ReadLanguageValue(keyAndValue, places.hive);
    if (name.size() < 4 || AsciiLower(name.substr(name.size() - 4)) != ".lng") name += ".lng";
    const std::string path = ProgramFilePath(name, programDirectory);
    return FileExists(path) ? path : ProgramFilePath(kDefaultLanguageFile, programDirectory);
}

} // namespace pellucor::lang

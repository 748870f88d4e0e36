#include "platform/Paths.h"

#include <QStandardPaths>
#include <QString>

#include <system_error>

namespace pellucor::platform {

std::filesystem::path programFile()
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

std::string programDirectory()
{
    std::string folder = programFile().parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::filesystem::path dataFilePath(const std::string& name)
{
    const std::filesystem::path beside = std::filesystem::path(programDirectory()) / name;
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside;
    // An installed program keeps its data in <prefix>/share/pellucor beside <prefix>/bin.
    const std::filesystem::path shared =
        std::filesystem::path(programDirectory()).parent_path().parent_path() / "share" / "pellucor" / name;
    if (std::filesystem::exists(shared, ec)) return shared;
    return beside;
}

std::string documentsFolder()
{
    std::string folder =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

} // namespace pellucor::platform

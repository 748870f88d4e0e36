#include "conversion/OutputName.h"

#include <array>

namespace pellucor::conversion {

std::string FormatExtension(int pageIndex)
{
    static const std::array<const char*, 6> extensions = {".mpeg", ".mp4", ".wmv",
                                                          ".flv",  ".mov", ".mp3"};
    if (pageIndex < 0 || pageIndex >= static_cast<int>(extensions.size())) return {};
    return extensions[static_cast<std::size_t>(pageIndex)];
}

std::string FileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string BuildOutputName(const std::string& source, int pageIndex)
{
    std::string name = FileNameOf(source);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name + FormatExtension(pageIndex);
}

std::string AddTrailingSlash(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/') return folder;
    return folder + '/';
}

} // namespace pellucor::conversion

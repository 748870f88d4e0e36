#include "hotdir/FileProbes.h"

#include "platform/FileProbe.h"

namespace pellucor::hotdir {

FileProbes FileProbes::Real() {
    return FileProbes{
        [](const std::string& path) { return platform::FileExists(path); },
        [](const std::string& path) { return platform::FileSizeOf(path); },
        [](const std::string& path) { return platform::CanOpenDenyWrite(path); },
    };
}

} // namespace pellucor::hotdir

#pragma once
// The three looks the completeness check takes at a waiting file. The monitor is given them as
// functions, so the rule can be exercised against files that exist only in a test's table;
// Real() are the platform's probes on the real file system.
//
// Threads: FileSizeOf is also called on the monitor's worker thread (when a waiter is added),
// so substitutes must be thread-safe.
#include <cstdint>
#include <functional>
#include <string>

namespace pellucor::hotdir {

struct FileProbes {
    std::function<bool(const std::string& path)> FileExists;
    std::function<std::int64_t(const std::string& path)> FileSizeOf;
    std::function<bool(const std::string& path)> CanOpenDenyWrite;

    static FileProbes Real();
};

} // namespace pellucor::hotdir

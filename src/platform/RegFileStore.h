#pragma once
// The hive file on disk: the lock beside it, reading it, moving a bad one aside, and replacing
// it atomically.
//
// Every reader and writer holds HiveLock (an flock on "<hive>.lock") while it reads or writes,
// so a writer's read-merge-write cycle never interleaves with another process's. The lock is a
// separate file because the hive itself is replaced by rename, which would leave a lock on the
// old inode useless.
#include "platform/RegFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pellucor::platform::regfile {

// Holds an exclusive flock on "<hive>.lock" for its lifetime. createFolder: create the hive's
// folder (and parents) when missing; without it a missing folder leaves the lock not taken.
class HiveLock {
public:
    HiveLock(const std::filesystem::path& hive, bool createFolder);
    ~HiveLock();
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;
    bool locked() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

struct LoadResult {
    std::optional<Hive> hive;  // empty when the file exists but could not be used
    bool existed = false;
    std::string error;         // why hive is empty
};

// Reads the hive; the caller holds HiveLock. A missing file is an empty hive. A file that is not
// valid .reg text is renamed to "<hive>.bad-<YYYYmmdd-HHMMSS>", a message naming both goes to
// standard error and to the hive messages, and the result is an empty hive. A file that cannot be
// read, or a bad one that cannot be moved aside, gives no hive: it must not be overwritten.
LoadResult loadHive(const std::filesystem::path& hive);

// Writes the text to a temporary file in the hive's folder, fsyncs it, renames it over the hive
// and fsyncs the folder. The caller holds HiveLock. Returns an error text, empty on success; on
// failure the old hive is untouched and no temporary file is left.
std::string saveHive(const std::filesystem::path& hive, const Hive& content);

// The messages about moved-aside or unreadable hives (see takeHiveMessages in Registry.h).
void addHiveMessage(const std::string& message);
std::vector<std::string> takeMessages();

} // namespace pellucor::platform::regfile

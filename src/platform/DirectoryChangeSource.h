#pragma once
// Where the directory monitor's change records come from.
//
// ChangeSource is what the monitor needs of the system: start watching one directory (or its
// whole tree), block until changes arrive and hand them over as change records
// (platform/ChangeRecords.h) in the caller's buffer, be woken for stopping, stop.
// DirectoryChangeSource is the real one, over inotify; tests give the monitor a source of their
// own.
//
// Threads: Open and Close on the owner's thread while no Read runs; Read on the monitor's worker
// thread; Wake from any thread.
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace pellucor::platform {

// Carries the system's own message for why a directory cannot be watched.
class ChangeSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ChangeSource {
public:
    virtual ~ChangeSource() = default;

    // Starts watching directory (and every directory below it when watchSubtree) for the changes
    // that notifyFilter (FILE_NOTIFY_CHANGE_* bits) asks for. Throws ChangeSourceError when the
    // directory cannot be watched; nothing is left open then.
    virtual void Open(const std::string& directory, bool watchSubtree, std::uint32_t notifyFilter) = 0;

    // Blocks until changes are there or Wake was called. With changes: writes as many records
    // as fit into buffer from offset 0, sets bytesReturned to where the last one ends and returns
    // true; changes that did not fit come with the next Read. After Wake: returns false (and
    // keeps doing so until Close).
    virtual bool Read(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned) = 0;

    // Ends the current or next Read. Thread-safe.
    virtual void Wake() = 0;

    // Stops watching and releases everything; does nothing when not open.
    virtual void Close() = 0;
};

// inotify on the directory, and on each of its sub-directories when the tree is watched: new
// directories get their watches as they appear (and are listed, so files made in them before the
// watch existed are reported as added), moved or deleted ones lose them. Names in the records
// are relative to the watched directory, in the bytes the file system gives.
//
// Events become actions as follows: created -> 1 added, moved in -> 5 renamed (new name),
// written or closed after writing -> 3 modified, deleted -> 2 removed, moved out -> 4 renamed
// (old name). When the kernel's event queue overflows, events are lost; the tree is then listed
// and every entry changed since shortly before the last read of events is reported as modified.
// Wake writes to an eventfd that Read polls beside the inotify descriptor.
class DirectoryChangeSource final : public ChangeSource {
public:
    DirectoryChangeSource();
    ~DirectoryChangeSource() override;
    DirectoryChangeSource(const DirectoryChangeSource&) = delete;
    DirectoryChangeSource& operator=(const DirectoryChangeSource&) = delete;

    void Open(const std::string& directory, bool watchSubtree, std::uint32_t notifyFilter) override;
    bool Read(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned) override;
    void Wake() override;
    void Close() override;

    // What an IN_Q_OVERFLOW event sets off. Public so the rescan can be checked without filling
    // the kernel's queue; call it only where Read would run.
    void RescanAfterOverflow();

    // Directories currently watched (0 when closed).
    std::size_t watchedDirectories() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace pellucor::platform

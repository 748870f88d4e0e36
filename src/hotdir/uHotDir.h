#pragma once
// DirectoryMonitor watches one directory, optionally with its whole tree, for files that appear
// or change, waits until each is complete, and then hands its full path to OnFileReady on the
// main thread.
//
// Complete means five consecutive looks, 500 ms apart, that each found the file present,
// non-empty, of the same size as at the look before (the first look compares with the size when
// the change was noticed) and not open for writing by any process. There is no time limit: a
// file that stays empty, keeps growing or stays open waits until it goes or the monitor stops.
//
// Work is split three ways: a worker thread per running monitor reads the change records and
// keeps the waiting list (TWaitThread); a 500 ms check on the main thread moves complete files to
// the hub's ready queue; the hub's 200 ms delivery on the main thread calls OnFileReady, at most
// ten files a tick, in the order they became complete.
//
// Ownership: the owner (the hot-directory mode) keeps one monitor for as long as it may watch;
// the monitor owns its change source, its worker and its waiting list. The hub outlives it.
// Threads: construction, Start, Stop, destruction and OnFileReady are on the main thread.
#include "hotdir/FileProbes.h"
#include "platform/ChangeRecords.h"
#include "platform/DirectoryChangeSource.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pellucor::hotdir {

class MonitorHub;
class TWaitThread;

class DirectoryMonitor {
public:
    using FileReadyCallback = std::function<void(const std::string& path)>;

    // Consecutive good looks after which a file is complete.
    static constexpr int StableChecks = 5;
    // FILE_NOTIFY_CHANGE_FILE_NAME + DIR_NAME + SIZE + LAST_WRITE.
    static constexpr std::uint32_t WatchedChanges = 0x53;

    // Stopped. source: where change records come from, the inotify source when null;
    // probes: the looks the completeness check takes, the real file system's by default.
    explicit DirectoryMonitor(MonitorHub& hub, std::unique_ptr<platform::ChangeSource> source = nullptr,
                              FileProbes probes = FileProbes::Real());
    ~DirectoryMonitor();  // stops first
    DirectoryMonitor(const DirectoryMonitor&) = delete;
    DirectoryMonitor& operator=(const DirectoryMonitor&) = delete;

    // Set by the owner before Start.
    std::string Directory;           // Start trims blanks and control characters off its ends
    bool WatchSubtree = false;
    std::string ExtFilter;           // e.g. ".avi"; a name passes when its extension is in it
    FileReadyCallback OnFileReady;   // the full path of a complete file; must not throw

    // Begins watching Directory. Throws platform::ChangeSourceError with the system's message
    // when the directory cannot be watched, leaving the monitor stopped; std::logic_error when
    // it is already running. Enables the hub's delivery.
    void Start();
    // Sets the four fields above, then Start().
    void Start(std::string directory, std::string extFilter, bool watchSubtree,
               FileReadyCallback onFileReady);

    // Ends watching: wakes the worker, waits for it, forgets the waiting files, closes the
    // source and disables the hub's delivery. Files already in the ready queue stay there and
    // are delivered once delivery runs again. Does nothing when stopped.
    void Stop();

    bool Running() const { return worker_ != nullptr; }
    std::uint32_t NotifyFilter() const { return notifyFilter_; }
    std::size_t WaitingCount() const;

private:
    MonitorHub& hub_;
    std::unique_ptr<platform::ChangeSource> source_;
    FileProbes probes_;
    std::uint32_t notifyFilter_ = 0;
    std::array<std::uint8_t, platform::ChangeBufferSize> ChangeBuffer{};
    std::unique_ptr<TWaitThread> worker_;
};

} // namespace pellucor::hotdir

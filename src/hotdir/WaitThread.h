#pragma once
// The running part of a directory monitor: the worker thread that reads change records and
// records candidate files, the waiting list, and the 500 ms check that decides when a waiting
// file is complete and moves it to the ready queue.
//
// Made by DirectoryMonitor::Start on the main thread and destroyed by Stop, after the change
// source has been woken: the destructor joins the worker, stops the check timer and forgets
// every file still waiting.
//
// Threads: the worker runs Execute -> HandleChange -> AddWaiter; CheckWaiting runs on the main
// thread from the scheduler. Both hold the hub's WaitLock around the waiting list; the check holds
// it for its whole pass, probes included, so the worker's insertions wait for a pass to end.
#include "hotdir/FileProbes.h"
#include "platform/ChangeRecords.h"
#include "platform/Scheduler.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>

namespace pellucor::platform {
class ChangeSource;
}

namespace pellucor::hotdir {

class DirectoryMonitor;
class MonitorHub;

struct TfileWaiter {
    std::string FileName;    // the full path: watched directory, '/', the name as reported
    std::int64_t LastSize;   // size at the previous look; 0 means missing or empty
    int StableCount;         // consecutive good looks so far
};

class TWaitThread {
public:
    static constexpr std::chrono::milliseconds CheckInterval{500};

    // Starts the check timer, then the worker. directory is the monitor's (trimmed) Directory.
    TWaitThread(DirectoryMonitor& monitor, MonitorHub& hub, platform::ChangeSource& source,
                std::array<std::uint8_t, platform::ChangeBufferSize>& changeBuffer,
                const FileProbes& probes, std::string directory, int stableChecks,
                std::string extFilter);
    ~TWaitThread();
    TWaitThread(const TWaitThread&) = delete;
    TWaitThread& operator=(const TWaitThread&) = delete;

    // One change record (worker thread): actions added, modified and renamed-new-name of names
    // that pass the extension filter become waiters, once per path.
    void HandleChange(std::uint32_t action, std::string_view name);

    // One look at every waiting file, last to first (main thread, every 500 ms).
    void CheckWaiting();

    std::size_t WaitingCount();

private:
    void Execute();
    void AddWaiter(const std::string& path);
    void RemoveWaiter(const std::string& path);

    DirectoryMonitor& monitor_;
    MonitorHub& hub_;
    platform::ChangeSource& source_;
    std::array<std::uint8_t, platform::ChangeBufferSize>& ChangeBuffer;
    const FileProbes& probes_;
    const std::string directory_;
    const int StableChecks;
    const std::string ExtFilter;

    // Keyed by the full path, compared exactly: Linux names differ by case.
    std::list<TfileWaiter> Waiting;
    std::unordered_map<std::string, std::list<TfileWaiter>::iterator> byPath_;

    Scheduler::TimerId CheckTimer = 0;
    std::thread thread_;
};

} // namespace pellucor::hotdir

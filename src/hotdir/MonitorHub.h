#pragma once
// What all directory monitors of the process share: the ready queue of complete files, the
// 200 ms delivery timer that hands them to their monitors' callbacks, the delivery depth, and
// the locks. The program makes one at start-up, before any monitor, and keeps it until exit.
//
// Threads: everything here runs on the main thread, except WaitLock(), which the monitors'
// worker threads take too.
#include "platform/Scheduler.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

namespace pellucor::hotdir {

class DirectoryMonitor;

class MonitorHub {
public:
    static constexpr std::chrono::milliseconds DeliveryInterval{200};
    static constexpr int MaxPerTick = 10;
    static constexpr int MaxDeliveryDepth = 10;

    explicit MonitorHub(Scheduler& scheduler);
    ~MonitorHub();
    MonitorHub(const MonitorHub&) = delete;
    MonitorHub& operator=(const MonitorHub&) = delete;

    // The delivery timer: enabled by every monitor's Start, disabled by every Stop.
    void EnableDelivery();
    void DisableDelivery();
    bool DeliveryEnabled() const { return DeliveryTimer != 0; }

    // One tick of the delivery timer: up to ten entries, oldest first, each to its monitor's
    // OnFileReady. A callback that runs a nested event loop may see further ticks inside it;
    // those deliver until ten callbacks are in progress, and nothing beyond that depth.
    void DeliverReady();

    // Appends a complete file for monitor (called by the completeness check, under WaitLock).
    void AppendReady(std::string path, DirectoryMonitor* monitor);
    // A monitor that goes away leaves its ready entries behind without an owner to call.
    void ForgetMonitor(const DirectoryMonitor* monitor);

    std::size_t ReadyCount() const { return ReadyQueue.size(); }
    int DeliveryDepth() const { return depth_; }

    std::recursive_mutex& WaitLock() { return waitLock_; }
    Scheduler& scheduler() { return scheduler_; }

private:
    struct ReadyEntry {
        std::string path;
        DirectoryMonitor* monitor;
    };

    Scheduler& scheduler_;
    std::deque<ReadyEntry> ReadyQueue;
    Scheduler::TimerId DeliveryTimer = 0;
    int depth_ = 0;
    std::recursive_mutex waitLock_;
    std::recursive_mutex readyLock_;
    std::recursive_mutex deliverLock_;
};

} // namespace pellucor::hotdir

#include "hotdir/MonitorHub.h"

#include "hotdir/uHotDir.h"

#include <algorithm>

namespace pellucor::hotdir {

MonitorHub::MonitorHub(Scheduler& scheduler) : scheduler_(scheduler) {}

MonitorHub::~MonitorHub() { DisableDelivery(); }

void MonitorHub::EnableDelivery() {
    if (DeliveryTimer == 0) DeliveryTimer = scheduler_.startTimer(DeliveryInterval, [this] { DeliverReady(); });
}

void MonitorHub::DisableDelivery() {
    if (DeliveryTimer == 0) return;
    scheduler_.stopTimer(DeliveryTimer);
    DeliveryTimer = 0;
}

void MonitorHub::AppendReady(std::string path, DirectoryMonitor* monitor) {
    std::lock_guard lock(readyLock_);
    ReadyQueue.push_back({std::move(path), monitor});
}

void MonitorHub::ForgetMonitor(const DirectoryMonitor* monitor) {
    std::lock_guard lock(readyLock_);
    for (ReadyEntry& entry : ReadyQueue)
        if (entry.monitor == monitor) entry.monitor = nullptr;
}

void MonitorHub::DeliverReady() {
    if (ReadyQueue.empty() || depth_ >= MaxDeliveryDepth) return;
    const std::size_t n = std::min<std::size_t>(ReadyQueue.size(), MaxPerTick);
    for (std::size_t i = 0; i < n && !ReadyQueue.empty(); ++i) {
        ReadyEntry entry = std::move(ReadyQueue.front());
        ReadyQueue.pop_front();
        std::lock_guard lock(deliverLock_);
        struct DepthGuard {
            int& depth;
            explicit DepthGuard(int& d) : depth(d) { ++depth; }
            ~DepthGuard() { --depth; }
        } guard(depth_);
        if (entry.monitor && entry.monitor->OnFileReady) entry.monitor->OnFileReady(entry.path);
    }
}

} // namespace pellucor::hotdir

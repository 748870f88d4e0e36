#include "hotdir/WaitThread.h"

#include "hotdir/ChangeDecoder.h"
#include "hotdir/MonitorHub.h"
#include "hotdir/PathText.h"
#include "platform/DirectoryChangeSource.h"

#include <algorithm>
#include <iterator>
#include <mutex>

namespace pellucor::hotdir {

using namespace platform;

TWaitThread::TWaitThread(DirectoryMonitor& monitor, MonitorHub& hub, ChangeSource& source,
                         std::array<std::uint8_t, ChangeBufferSize>& changeBuffer,
                         const FileProbes& probes, std::string directory, int stableChecks,
                         std::string extFilter)
    : monitor_(monitor), hub_(hub), source_(source), ChangeBuffer(changeBuffer), probes_(probes),
      directory_(std::move(directory)), StableChecks(stableChecks), ExtFilter(std::move(extFilter)) {
    CheckTimer = hub_.scheduler().startTimer(CheckInterval, [this] { CheckWaiting(); });
    // Last, so the worker sees every field in place before its first record.
    try {
        thread_ = std::thread([this] { Execute(); });
    } catch (...) {
        hub_.scheduler().stopTimer(CheckTimer);
        throw;
    }
}

TWaitThread::~TWaitThread() {
    if (thread_.joinable()) thread_.join();
    hub_.scheduler().stopTimer(CheckTimer);
    std::lock_guard lock(hub_.WaitLock());
    while (!Waiting.empty()) RemoveWaiter(Waiting.back().FileName);
}

void TWaitThread::Execute() {
    for (;;) {
        // Zeroed before every read, so stale bytes of a longer earlier read can never be
        // mistaken for records.
        std::fill(ChangeBuffer.begin(), ChangeBuffer.end(), std::uint8_t{0});
        std::uint32_t bytesReturned = 0;
        if (!source_.Read(ChangeBuffer, bytesReturned)) return;  // woken: the monitor stops
        ProcessChanges(ChangeBuffer, bytesReturned,
                       [this](std::uint32_t action, std::string_view name) { HandleChange(action, name); });
    }
}

void TWaitThread::HandleChange(std::uint32_t action, std::string_view name) {
    if (action != FILE_ACTION_ADDED && action != FILE_ACTION_MODIFIED &&
        action != FILE_ACTION_RENAMED_NEW_NAME)
        return;
    const std::string path = AddTrailingSlash(directory_) + std::string(name);
    if (!PassesExtFilter(path, ExtFilter)) return;
    std::lock_guard lock(hub_.WaitLock());
    if (byPath_.find(path) == byPath_.end()) AddWaiter(path);
}

void TWaitThread::AddWaiter(const std::string& path) {
    Waiting.push_back(TfileWaiter{path, probes_.FileSizeOf(path), 0});
    byPath_[path] = std::prev(Waiting.end());
}

void TWaitThread::RemoveWaiter(const std::string& path) {
    const auto found = byPath_.find(path);
    if (found == byPath_.end()) return;
    Waiting.erase(found->second);
    byPath_.erase(found);
}

void TWaitThread::CheckWaiting() {
    std::lock_guard lock(hub_.WaitLock());
    for (auto it = Waiting.end(); it != Waiting.begin();) {
        --it;
        TfileWaiter& waiter = *it;
        // Copied: RemoveWaiter frees the waiter whose name it is given.
        const std::string path = waiter.FileName;
        if (!probes_.FileExists(path)) {
            it = std::next(it);
            RemoveWaiter(path);
            continue;
        }
        const std::int64_t size = probes_.FileSizeOf(path);
        if (size != 0 && size == waiter.LastSize && probes_.CanOpenDenyWrite(path)) {
            if (++waiter.StableCount >= StableChecks) {
                it = std::next(it);
                hub_.AppendReady(path, &monitor_);
                RemoveWaiter(path);
            }
        } else {
            waiter.LastSize = size;
            waiter.StableCount = 0;
        }
    }
}

std::size_t TWaitThread::WaitingCount() {
    std::lock_guard lock(hub_.WaitLock());
    return Waiting.size();
}

} // namespace pellucor::hotdir

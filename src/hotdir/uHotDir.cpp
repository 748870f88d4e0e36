#include "hotdir/uHotDir.h"

#include "hotdir/MonitorHub.h"
#include "hotdir/PathText.h"
#include "hotdir/WaitThread.h"
#include "platform/DirectoryChangeSource.h"

#include <stdexcept>

namespace pellucor::hotdir {

DirectoryMonitor::DirectoryMonitor(MonitorHub& hub, std::unique_ptr<platform::ChangeSource> source,
                                   FileProbes probes)
    : hub_(hub),
      source_(source ? std::move(source) : std::make_unique<platform::DirectoryChangeSource>()),
      probes_(std::move(probes)) {}

DirectoryMonitor::~DirectoryMonitor() {
    Stop();
    hub_.ForgetMonitor(this);
}

void DirectoryMonitor::Start(std::string directory, std::string extFilter, bool watchSubtree,
                             FileReadyCallback onFileReady) {
    Directory = std::move(directory);
    ExtFilter = std::move(extFilter);
    WatchSubtree = watchSubtree;
    OnFileReady = std::move(onFileReady);
    Start();
}

void DirectoryMonitor::Start() {
    if (Running()) throw std::logic_error("the directory monitor is already running");
    // Trimmed but not lower-cased: on Linux the case of a name is part of it.
    Directory = TrimBlanks(Directory);
    notifyFilter_ = WatchedChanges;
    source_->Open(Directory, WatchSubtree, notifyFilter_);  // throws; nothing else made yet
    try {
        worker_ = std::make_unique<TWaitThread>(*this, hub_, *source_, ChangeBuffer, probes_,
                                                Directory, StableChecks, ExtFilter);
    } catch (...) {
        source_->Close();
        throw;
    }
    hub_.EnableDelivery();
}

void DirectoryMonitor::Stop() {
    if (!Running()) return;
    source_->Wake();
    worker_.reset();  // joins the worker, stops its check, forgets the waiting files
    source_->Close();
    hub_.DisableDelivery();
}

std::size_t DirectoryMonitor::WaitingCount() const { return worker_ ? worker_->WaitingCount() : 0; }

} // namespace pellucor::hotdir

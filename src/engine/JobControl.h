#pragma once
// What every thread of one job shares: the stop request, the first failure, and the flag that
// tells every stage to end (set by either). FFmpeg's blocking calls see it through the
// interrupt callback, so a stop is noticed even inside a slow read.
#include "engine/EngineError.h"

#include <atomic>
#include <mutex>
#include <optional>

namespace pellucor::engine {

class JobControl {
public:
    // Main thread (Stop) or any stage.
    void requestStop() {
        stopRequested_ = true;
        cancelled_ = true;
    }
    // Any stage: keeps the first failure, the one that caused the rest.
    void fail(const EngineError& e) {
        {
            std::lock_guard lock(mutex_);
            if (!error_) error_ = e;
        }
        cancelled_ = true;
    }
    // Ends every stage without calling it a stop (a failure elsewhere, or tear-down).
    void cancel() { cancelled_ = true; }
    bool stopRequested() const { return stopRequested_; }
    bool cancelled() const { return cancelled_; }
    const std::atomic<bool>& cancelledFlag() const { return cancelled_; }
    std::optional<EngineError> error() const {
        std::lock_guard lock(mutex_);
        return error_;
    }

    // For AVIOInterruptCB: opaque is the JobControl.
    static int interrupt(void* opaque) {
        return static_cast<const JobControl*>(opaque)->cancelled_.load() ? 1 : 0;
    }

private:
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> cancelled_{false};
    mutable std::mutex mutex_;
    std::optional<EngineError> error_;
};

} // namespace pellucor::engine

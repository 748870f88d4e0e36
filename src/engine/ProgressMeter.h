#pragma once
// Turns "how far the output has got" into OnProgress calls: the output's time over the
// source's duration, in whole per cent, sent only when the per cent changes and at most about
// ten times a second, never falling back, never 100 before the job has really ended.
// update() is called by whichever thread writes packets (serialised by the muxer's lock);
// finish() by the job thread once every other stage has ended.
#include <chrono>
#include <functional>
#include <mutex>

namespace pellucor::engine {

class ProgressMeter {
public:
    using Clock = std::chrono::steady_clock;

    ProgressMeter(double durationSeconds, std::function<void(int)> send)
        : duration_(durationSeconds), send_(std::move(send)) {}

    void update(double outputSeconds) {
        if (!(duration_ > 0)) return;  // unknown length: only the final 100 is sent
        int percent = static_cast<int>(outputSeconds * 100.0 / duration_);
        percent = percent < 0 ? 0 : percent > 99 ? 99 : percent;
        std::lock_guard lock(mutex_);
        const auto now = Clock::now();
        if (percent <= sent_ || (sent_ >= 0 && now - lastSend_ < std::chrono::milliseconds(100))) return;
        sent_ = percent;
        lastSend_ = now;
        send_(percent);
    }

    void finish() {
        std::lock_guard lock(mutex_);
        if (sent_ < 100) send_(100);
        sent_ = 100;
    }

private:
    const double duration_;
    std::function<void(int)> send_;
    std::mutex mutex_;
    int sent_ = -1;
    Clock::time_point lastSend_{};
};

} // namespace pellucor::engine

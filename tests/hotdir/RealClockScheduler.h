#pragma once
// A Scheduler on the real clock for the one end-to-end run: timers and posted functions run on
// the test's thread while it sits in runUntil.
#include "platform/Scheduler.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace pellucor::test {

class RealClockScheduler : public Scheduler {
public:
    using clock = std::chrono::steady_clock;

    TimerId startTimer(std::chrono::milliseconds period, std::function<void()> tick) override {
        const TimerId id = ++lastId_;
        timers_[id] = Timer{period, clock::now() + period, std::move(tick)};
        return id;
    }
    void stopTimer(TimerId id) override { timers_.erase(id); }
    void postToMain(std::function<void()> fn) override {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(fn));
        wake_.notify_all();
    }

    // Runs timers and posted work until done() holds or the time is up. Returns done().
    bool runUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
        const auto giveUp = clock::now() + limit;
        while (!done()) {
            const auto now = clock::now();
            if (now >= giveUp) return false;
            auto nextDue = giveUp;
            TimerId dueId = 0;
            for (auto& [id, timer] : timers_)
                if (timer.next < nextDue) nextDue = timer.next, dueId = id;
            std::function<void()> fn;
            {
                std::unique_lock lock(mutex_);
                wake_.wait_until(lock, nextDue, [&] { return !posted_.empty(); });
                if (!posted_.empty()) {
                    fn = std::move(posted_.front());
                    posted_.pop_front();
                }
            }
            if (fn) {
                fn();
                continue;
            }
            const auto it = timers_.find(dueId);
            if (it != timers_.end() && clock::now() >= it->second.next) {
                it->second.next += it->second.period;
                auto tick = it->second.tick;  // the tick may stop its own timer
                tick();
            }
        }
        return true;
    }

private:
    struct Timer {
        std::chrono::milliseconds period;
        clock::time_point next;
        std::function<void()> tick;
    };
    TimerId lastId_ = 0;
    std::map<TimerId, Timer> timers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> posted_;
};

} // namespace pellucor::test

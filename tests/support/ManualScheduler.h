#pragma once
// A Scheduler whose clock moves only when the test says so. Timers fire in time order;
// functions posted from any thread run on the test's thread at the next advance() or
// runPosted(). Timer ticks and posted functions may start or stop timers and post more work.
#include "../../src/platform/Scheduler.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

namespace pellucor::test {

class ManualScheduler : public Scheduler {
public:
    using ms = std::chrono::milliseconds;

    TimerId startTimer(ms period, std::function<void()> tick) override {
        const TimerId id = ++lastId_;
        timers_[id] = Timer{period, now_ + period, std::move(tick)};
        return id;
    }
    void stopTimer(TimerId id) override { timers_.erase(id); }
    void postToMain(std::function<void()> fn) override {
        {
            std::lock_guard lock(postedMutex_);
            posted_.push_back(std::move(fn));
        }
        postedSignal_.notify_all();
    }

    // Waits until another thread has posted something or limit has passed; true when there is
    // work to run. For tests whose real worker threads (an encoder, a file watcher) report
    // through postToMain: it waits for their work, it does not move the clock.
    bool waitForPosted(std::chrono::milliseconds limit) {
        std::unique_lock lock(postedMutex_);
        return postedSignal_.wait_for(lock, limit, [this] { return !posted_.empty(); });
    }

    // Runs everything posted so far (and what that posts in turn). Returns how many ran.
    int runPosted() {
        int count = 0;
        for (;;) {
            std::function<void()> fn;
            {
                std::lock_guard lock(postedMutex_);
                if (posted_.empty()) return count;
                fn = std::move(posted_.front());
                posted_.pop_front();
            }
            fn();
            ++count;
        }
    }

    // Moves the clock forward by d, firing every timer that falls due on the way, in order.
    void advance(ms d) {
        const ms target = now_ + d;
        runPosted();
        for (;;) {
            auto due = std::min_element(timers_.begin(), timers_.end(), [](auto& a, auto& b) {
                return a.second.next < b.second.next;
            });
            if (due == timers_.end() || due->second.next > target) break;
            now_ = due->second.next;
            due->second.next += due->second.period;
            auto tick = due->second.tick;  // the tick may stop (erase) its own timer
            tick();
            runPosted();
        }
        now_ = target;
        runPosted();
    }

    ms now() const { return now_; }
    bool isActive(TimerId id) const { return timers_.count(id) != 0; }
    std::size_t activeTimers() const { return timers_.size(); }

private:
    struct Timer {
        ms period;
        ms next;
        std::function<void()> tick;
    };
    ms now_{0};
    TimerId lastId_ = 0;
    std::map<TimerId, Timer> timers_;
    std::mutex postedMutex_;
    std::condition_variable postedSignal_;
    std::deque<std::function<void()>> posted_;
};

} // namespace pellucor::test

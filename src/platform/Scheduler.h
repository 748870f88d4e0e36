#pragma once
// Time and the main thread, as the core sees them.
//
// The core never sleeps and never starts a GUI timer itself: it asks a Scheduler for repeating
// timers and for "run this on the main thread". The program implements it with QTimer and queued
// calls (app/QtScheduler); tests implement it with a manual clock they advance
// (tests/support/ManualScheduler.h), so a "five checks 500 ms apart" rule runs in microseconds.
//
// Threads: startTimer/stopTimer are called on the main thread and their callbacks run there.
// postToMain may be called from any thread; the function runs later on the main thread.
#include <chrono>
#include <functional>

namespace pellucor {

class Scheduler {
public:
    using TimerId = int;
    virtual ~Scheduler() = default;

    // Calls tick every period, on the main thread, until stopTimer. Never returns 0.
    virtual TimerId startTimer(std::chrono::milliseconds period, std::function<void()> tick) = 0;
    // Stops a timer; unknown or already stopped ids are ignored. Safe inside the timer's own tick.
    virtual void stopTimer(TimerId id) = 0;
    // Runs fn on the main thread, after the caller's current work. Thread-safe.
    virtual void postToMain(std::function<void()> fn) = 0;
};

} // namespace pellucor

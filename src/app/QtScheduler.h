#pragma once
// The program's Scheduler: QTimer for the core's repeating timers and queued calls for "run this
// on the main thread".
//
// Owned by main() (or a test) and outliving every object that was handed it. Create and use it
// on the main thread; postToMain may be called from any thread. Work posted after the scheduler
// is gone is dropped, never run on a dead object.
#include "platform/Scheduler.h"

#include <QObject>

#include <map>
#include <memory>

class QTimer;

namespace pellucor::app {

class QtScheduler final : public Scheduler {
public:
    QtScheduler();
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    TimerId startTimer(std::chrono::milliseconds period, std::function<void()> tick) override;
    void stopTimer(TimerId id) override;
    void postToMain(std::function<void()> fn) override;

private:
    // Lives on the main thread; queued calls aimed at it run there and die with it.
    std::unique_ptr<QObject> context_;
    std::map<TimerId, QTimer*> timers_;  // children of context_
    TimerId lastId_ = 0;
};

} // namespace pellucor::app

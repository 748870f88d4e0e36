#include "app/QtScheduler.h"

#include <QMetaObject>
#include <QTimer>

namespace pellucor::app {

QtScheduler::QtScheduler() : context_(std::make_unique<QObject>()) {}

QtScheduler::~QtScheduler() = default;  // context_ takes its timers and pending calls along

Scheduler::TimerId QtScheduler::startTimer(std::chrono::milliseconds period,
                                           std::function<void()> tick) {
    const TimerId id = ++lastId_;
    auto* timer = new QTimer(context_.get());
    timer->setInterval(period);
    timer->setTimerType(Qt::CoarseTimer);
    QObject::connect(timer, &QTimer::timeout, context_.get(), std::move(tick));
    timers_[id] = timer;
    timer->start();
    return id;
}

void QtScheduler::stopTimer(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    QTimer* timer = it->second;
    timers_.erase(it);
    timer->stop();
    // The tick that asked for the stop may still be running inside this timer's timeout signal.
    timer->deleteLater();
}

void QtScheduler::postToMain(std::function<void()> fn) {
    // invokeMethod with a context object is thread-safe; the call is dropped if the context
    // has been destroyed before the event loop reaches it.
    QMetaObject::invokeMethod(context_.get(), std::move(fn), Qt::QueuedConnection);
}

} // namespace pellucor::app

// The program's Scheduler over Qt: timers tick on the main thread until stopped (also from
// their own tick), work posted from other threads runs on the main thread, and nothing runs
// once the scheduler is gone. The event loop runs until the awaited thing happened; a guard
// timer only ends a hung test.
#include "app/QtScheduler.h"

#include "QtEnvironment.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

// Runs the event loop until done() is true; false if the guard ran out first.
template <typename Done>
bool RunUntil(Done done) {
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(10000);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(0);
    loop.exec();
    return done();
}

TEST(QtScheduler, ATimerTicksOnTheMainThreadUntilItStopsItself) {
    QtScheduler scheduler;
    int ticks = 0;
    bool onMain = true;
    Scheduler::TimerId id = 0;
    id = scheduler.startTimer(std::chrono::milliseconds(1), [&] {
        onMain = onMain && QThread::currentThread() == qApp->thread();
        if (++ticks == 3) scheduler.stopTimer(id);
    });
    EXPECT_NE(id, 0);
    ASSERT_TRUE(RunUntil([&] { return ticks >= 3; }));
    // A stopped timer stays quiet: let posted work run and look again.
    bool flushed = false;
    scheduler.postToMain([&] { flushed = true; });
    ASSERT_TRUE(RunUntil([&] { return flushed; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(onMain);
    scheduler.stopTimer(id);   // stopping twice is harmless
    scheduler.stopTimer(999);  // so is an unknown id
}

TEST(QtScheduler, TimersGetDistinctIds) {
    QtScheduler scheduler;
    const auto a = scheduler.startTimer(std::chrono::hours(1), [] {});
    const auto b = scheduler.startTimer(std::chrono::hours(1), [] {});
    EXPECT_NE(a, b);
    EXPECT_NE(a, 0);
}

TEST(QtScheduler, WorkPostedFromOtherThreadsRunsOnTheMainThreadInOrder) {
    QtScheduler scheduler;
    std::vector<int> seen;
    std::atomic<bool> wrongThread{false};
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            scheduler.postToMain([&, i] {
                if (QThread::currentThread() != qApp->thread()) wrongThread = true;
                seen.push_back(i);
            });
        }
    });
    worker.join();
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 100; }));
    EXPECT_FALSE(wrongThread);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(seen[i], i) << "position " << i;
}

TEST(QtScheduler, NothingRunsAfterTheSchedulerIsGone) {
    bool ran = false, ticked = false;
    {
        QtScheduler scheduler;
        scheduler.postToMain([&] { ran = true; });
        scheduler.startTimer(std::chrono::milliseconds(0), [&] { ticked = true; });
    }
    bool later = false;
    QTimer::singleShot(0, [&] { later = true; });
    ASSERT_TRUE(RunUntil([&] { return later; }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_FALSE(ticked);
}

} // namespace
} // namespace pellucor::app

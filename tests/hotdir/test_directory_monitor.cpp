// The directory monitor's rules on the manual clock: which changes make a file wait, when a
// waiting file is complete (five good looks 500 ms apart), how complete files are delivered (at
// most ten a 200 ms tick, nested deliveries at most ten deep), and what Start and Stop do to
// the waiting list, the ready queue and the timers. Changes come from a fake source through
// the real worker thread; files live in a table.
#include "MonitorFakes.h"
#include "ManualScheduler.h"
#include "hotdir/MonitorHub.h"
#include "hotdir/uHotDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace pellucor;
using namespace pellucor::hotdir;
using namespace pellucor::platform;
using pellucor::test::FakeChangeSource;
using pellucor::test::FakeFiles;
using ms = std::chrono::milliseconds;

namespace {

class MonitorTest : public ::testing::Test {
protected:
    MonitorTest() {
        auto source = std::make_unique<FakeChangeSource>();
        source_ = source.get();
        monitor_ = std::make_unique<DirectoryMonitor>(hub_, std::move(source), files_.probes());
    }

    void start(const std::string& dir = "/in", bool subtree = false, const std::string& filter = ".avi") {
        monitor_->Start(dir, filter, subtree, [this](const std::string& path) { delivered_.push_back(path); });
    }
    // Hands records to the worker and returns once it has dealt with them.
    void change(std::vector<std::pair<std::uint32_t, std::string>> records) {
        source_->feed(records);
        source_->waitIdle();
    }
    void added(const std::string& name) { change({{FILE_ACTION_ADDED, name}}); }
    // Moves the clock to just after the next check (checks fall on multiples of 500 ms).
    void nextCheck() { clock_.advance(ms(500) - clock_.now() % ms(500)); }

    pellucor::test::ManualScheduler clock_;
    MonitorHub hub_{clock_};
    FakeFiles files_;
    FakeChangeSource* source_ = nullptr;
    std::unique_ptr<DirectoryMonitor> monitor_;
    std::vector<std::string> delivered_;
};

TEST_F(MonitorTest, StableFileIsReadyAtTheFifthLookAndDeliveredOnTheNextTick) {
    files_.put("/in/clip.avi", 1000);
    start();
    added("clip.avi");
    EXPECT_EQ(monitor_->WaitingCount(), 1u);

    clock_.advance(ms(2499));  // four looks
    EXPECT_EQ(hub_.ReadyCount(), 0u);
    EXPECT_EQ(monitor_->WaitingCount(), 1u);
    clock_.advance(ms(1));  // the fifth, at 2500 ms
    EXPECT_EQ(hub_.ReadyCount(), 1u);
    EXPECT_EQ(monitor_->WaitingCount(), 0u);
    EXPECT_TRUE(delivered_.empty());
    clock_.advance(ms(99));
    EXPECT_TRUE(delivered_.empty());
    clock_.advance(ms(1));  // the delivery tick at 2600 ms
    EXPECT_EQ(delivered_, std::vector<std::string>{"/in/clip.avi"});

    clock_.advance(ms(10000));
    EXPECT_EQ(delivered_.size(), 1u) << "delivered once only";
}

// A file's story, look by look: what happens to it just before look n, and at which look it
// is found complete (0: still waiting after 20 looks).
TEST_F(MonitorTest, CompletenessRule) {
    struct Case {
        const char* name;
        std::int64_t sizeWhenNoticed;
        std::map<int, std::function<void(FakeFiles&, const std::string&)>> beforeLook;
        int readyAtLook;
    };
    auto size = [](std::int64_t s) { return [s](FakeFiles& f, const std::string& p) { f.setSize(p, s); }; };
    auto writer = [](bool open) { return [open](FakeFiles& f, const std::string& p) { f.setWriter(p, open); }; };
    auto gone = [](FakeFiles& f, const std::string& p) { f.remove(p); };
    auto back = [](FakeFiles& f, const std::string& p) { f.put(p, 100); };
    const Case cases[] = {
        {"stable from the start", 100, {}, 5},
        {"size differs from when noticed", 100, {{1, size(200)}}, 6},
        {"stays empty", 0, {}, 0},
        {"empty, then filled and stable", 0, {{3, size(500)}}, 8},
        {"keeps growing until look 4", 100, {{1, size(200)}, {2, size(300)}, {3, size(400)}, {4, size(500)}}, 9},
        {"growing between good looks resets the count", 100, {{4, size(150)}}, 9},
        {"truncated to empty after good looks", 100, {{3, size(0)}, {4, size(100)}}, 9},
        {"writer holds it until after look 6", 100, {{1, writer(true)}, {7, writer(false)}}, 11},
        {"writer opens it at look 3 only", 100, {{3, writer(true)}, {4, writer(false)}}, 8},
        {"writer never lets go", 100, {{1, writer(true)}}, 0},
        {"deleted while waiting is forgotten", 100, {{2, gone}, {3, back}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFiles files;
        pellucor::test::ManualScheduler clock;
        MonitorHub hub(clock);
        auto source = std::make_unique<FakeChangeSource>();
        FakeChangeSource& feeder = *source;
        DirectoryMonitor monitor(hub, std::move(source), files.probes());
        const std::string path = "/in/clip.avi";
        files.put(path, c.sizeWhenNoticed);
        int delivered = 0;  // a look on a whole second meets a delivery tick at the same instant
        monitor.Start("/in", ".avi", false, [&](const std::string&) { ++delivered; });
        feeder.feed({{FILE_ACTION_ADDED, "clip.avi"}});
        feeder.waitIdle();

        int readyAt = 0;
        for (int look = 1; look <= 20 && readyAt == 0; ++look) {
            if (const auto it = c.beforeLook.find(look); it != c.beforeLook.end()) it->second(files, path);
            clock.advance(ms(500));
            if (hub.ReadyCount() > 0 || delivered > 0) readyAt = look;
        }
        EXPECT_EQ(readyAt, c.readyAtLook);
        if (c.readyAtLook == 0 && c.beforeLook.count(2) && c.beforeLook.count(3)) {
            EXPECT_EQ(monitor.WaitingCount(), 0u) << "a vanished file leaves the waiting list";
        }
    }
}

TEST_F(MonitorTest, OnlyAddedModifiedAndNewNameMakeAFileWait) {
    const std::pair<std::uint32_t, bool> cases[] = {
        {0, false}, {FILE_ACTION_ADDED, true}, {FILE_ACTION_REMOVED, false},
        {FILE_ACTION_MODIFIED, true}, {FILE_ACTION_RENAMED_OLD_NAME, false},
        {FILE_ACTION_RENAMED_NEW_NAME, true}, {6, false}, {0xFFFFFFFFu, false},
    };
    start();
    for (const auto& [action, waits] : cases) {
        const std::string name = "clip" + std::to_string(action) + ".avi";
        files_.put("/in/" + name, 10);
        change({{action, name}});
        EXPECT_EQ(monitor_->WaitingCount(), waits ? 1u : 0u) << "action " << action;
        files_.remove("/in/" + name);
        nextCheck();  // a missing file leaves the list
        ASSERT_EQ(monitor_->WaitingCount(), 0u);
    }
}

TEST_F(MonitorTest, ExtensionFilterDecidesWhichNamesWait) {
    for (const char* name : {"a.AVI", "b.av", "c.avi.tmp", "d", "e.mpg", "sub.avi/f"})
        files_.put(std::string("/in/") + name, 5);
    start();
    change({{FILE_ACTION_ADDED, "a.AVI"}, {FILE_ACTION_ADDED, "b.av"}, {FILE_ACTION_ADDED, "c.avi.tmp"},
            {FILE_ACTION_ADDED, "d"}, {FILE_ACTION_ADDED, "e.mpg"}, {FILE_ACTION_ADDED, "sub.avi/f"}});
    EXPECT_EQ(monitor_->WaitingCount(), 2u);
    clock_.advance(ms(2600));
    EXPECT_EQ(delivered_, (std::vector<std::string>{"/in/b.av", "/in/a.AVI"}));
}

TEST_F(MonitorTest, SecondChangeWhileWaitingAddsNoWaiterButOneAfterHandOverStartsAnother) {
    files_.put("/in/clip.avi", 100);
    start();
    change({{FILE_ACTION_ADDED, "clip.avi"}, {FILE_ACTION_MODIFIED, "clip.avi"}});
    added("clip.avi");
    EXPECT_EQ(monitor_->WaitingCount(), 1u);
    clock_.advance(ms(2600));
    EXPECT_EQ(delivered_.size(), 1u);

    change({{FILE_ACTION_MODIFIED, "clip.avi"}});
    EXPECT_EQ(monitor_->WaitingCount(), 1u);
    clock_.advance(ms(3000));
    EXPECT_EQ(delivered_, (std::vector<std::string>{"/in/clip.avi", "/in/clip.avi"}));
}

TEST_F(MonitorTest, PathsAreTheTrimmedDirectoryThenTheNameAsReported) {
    struct Case {
        const char* name;
        std::string directory;
        bool subtree;
        std::string record;
        std::string path;
        std::string watched;
    };
    const Case cases[] = {
        {"case kept, blanks trimmed", "  /Data/Mixed Case \t", false, "Clip.AVI", "/Data/Mixed Case/Clip.AVI", "/Data/Mixed Case"},
        {"trailing slash not doubled", "/in/", false, "clip.avi", "/in/clip.avi", "/in/"},
        {"sub-directory parts kept", "/in", true, "Day1/Morning/Clip One.avi", "/in/Day1/Morning/Clip One.avi", "/in"},
        {"names are bytes", "/in", false, "\xFF\xC3\xA4.avi", "/in/\xFF\xC3\xA4.avi", "/in"},
        {"case differs, so a different file", "/in", false, "CLIP.avi", "/in/CLIP.avi", "/in"},
    };
    for (const auto& c : cases) {
        files_.put(c.path, 7);
        start(c.directory, c.subtree);
        EXPECT_EQ(monitor_->Directory, c.watched) << c.name;
        ASSERT_TRUE(source_->opened()) << c.name;
        EXPECT_EQ(source_->opened()->directory, monitor_->Directory) << c.name;
        EXPECT_EQ(source_->opened()->watchSubtree, c.subtree) << c.name;
        EXPECT_EQ(source_->opened()->notifyFilter, 0x53u) << c.name;
        added(c.record);
        clock_.advance(ms(2600));
        EXPECT_EQ(delivered_, std::vector<std::string>{c.path}) << c.name;
        monitor_->Stop();
        delivered_.clear();
        files_.remove(c.path);
    }
}

TEST_F(MonitorTest, KeysCompareExactly) {
    files_.put("/in/clip.avi", 5);
    files_.put("/in/Clip.avi", 5);
    start();
    change({{FILE_ACTION_ADDED, "clip.avi"}, {FILE_ACTION_ADDED, "Clip.avi"}, {FILE_ACTION_ADDED, "clip.avi"}});
    EXPECT_EQ(monitor_->WaitingCount(), 2u);
}

TEST_F(MonitorTest, TwelveFilesCompleteInOneLookAreDeliveredTenThenTwoLastNoticedFirst) {
    std::vector<std::pair<std::uint32_t, std::string>> records;
    for (int i = 0; i < 12; ++i) {
        const std::string name = "f" + std::to_string(i) + ".avi";
        files_.put("/in/" + name, 10);
        records.push_back({FILE_ACTION_ADDED, name});
    }
    start();
    change(records);
    clock_.advance(ms(2500));
    EXPECT_EQ(hub_.ReadyCount(), 12u);
    clock_.advance(ms(100));
    ASSERT_EQ(delivered_.size(), 10u);
    clock_.advance(ms(200));
    ASSERT_EQ(delivered_.size(), 12u);
    // The look runs over the list from its last entry to its first, and that is queue order.
    for (int i = 0; i < 12; ++i) EXPECT_EQ(delivered_[i], "/in/f" + std::to_string(11 - i) + ".avi") << i;
}

TEST_F(MonitorTest, NestedDeliveriesStopAtDepthTen) {
    // A callback that runs a nested event loop: here, the delivery tick called again inside it.
    std::vector<int> depths;
    monitor_->Start("/in", ".avi", false, [&](const std::string& path) {
        delivered_.push_back(path);
        depths.push_back(hub_.DeliveryDepth());
        hub_.DeliverReady();
    });
    std::vector<std::pair<std::uint32_t, std::string>> records;
    for (int i = 0; i < 30; ++i) {
        const std::string name = "f" + std::to_string(i) + ".avi";
        files_.put("/in/" + name, 10);
        records.push_back({FILE_ACTION_ADDED, name});
    }
    change(records);
    clock_.advance(ms(2500));
    ASSERT_EQ(hub_.ReadyCount(), 30u);
    clock_.advance(ms(100));
    ASSERT_EQ(delivered_.size(), 30u);
    EXPECT_EQ(*std::max_element(depths.begin(), depths.end()), 10);
    EXPECT_EQ(std::vector<int>(depths.begin(), depths.begin() + 10),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(hub_.DeliveryDepth(), 0);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(delivered_[i], "/in/f" + std::to_string(29 - i) + ".avi") << i;
}

TEST_F(MonitorTest, StopForgetsWaitingFilesAndKeepsReadyOnesForTheNextStart) {
    files_.put("/in/ready.avi", 10);
    files_.put("/in/late.avi", 10);
    start();
    added("ready.avi");
    clock_.advance(ms(1000));
    added("late.avi");
    clock_.advance(ms(1500));  // ready.avi complete at 2500, not delivered yet
    ASSERT_EQ(hub_.ReadyCount(), 1u);
    ASSERT_EQ(monitor_->WaitingCount(), 1u);

    monitor_->Stop();
    EXPECT_FALSE(monitor_->Running());
    EXPECT_EQ(monitor_->WaitingCount(), 0u);
    EXPECT_FALSE(hub_.DeliveryEnabled());
    EXPECT_EQ(clock_.activeTimers(), 0u) << "check and delivery timers both off";
    EXPECT_EQ(source_->closes(), 1);
    clock_.advance(ms(10000));
    EXPECT_TRUE(delivered_.empty());
    EXPECT_EQ(hub_.ReadyCount(), 1u);

    start();
    clock_.advance(ms(200));
    EXPECT_EQ(delivered_, std::vector<std::string>{"/in/ready.avi"});
    clock_.advance(ms(10000));
    EXPECT_EQ(delivered_.size(), 1u) << "late.avi was forgotten and nothing reported it again";
}

TEST_F(MonitorTest, StartAndStopStates) {
    EXPECT_FALSE(monitor_->Running());
    monitor_->Stop();  // nothing happens on a stopped monitor
    EXPECT_EQ(source_->closes(), 0);

    start();
    EXPECT_TRUE(monitor_->Running());
    EXPECT_TRUE(hub_.DeliveryEnabled());
    EXPECT_EQ(clock_.activeTimers(), 2u);
    EXPECT_EQ(monitor_->NotifyFilter(), 0x53u);
    EXPECT_THROW(start(), std::logic_error);
    EXPECT_TRUE(monitor_->Running());

    monitor_->Stop();
    monitor_->Stop();
    EXPECT_EQ(source_->closes(), 1);
    start();
    EXPECT_TRUE(monitor_->Running());
    monitor_.reset();  // destroying a running monitor stops it
    EXPECT_EQ(clock_.activeTimers(), 0u);
}

TEST_F(MonitorTest, FailedStartLeavesTheMonitorStopped) {
    source_->failNextOpen("No such file or directory");
    try {
        start("/nowhere");
        FAIL() << "Start did not raise";
    } catch (const ChangeSourceError& e) {
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
    EXPECT_FALSE(monitor_->Running());
    EXPECT_FALSE(hub_.DeliveryEnabled());
    EXPECT_EQ(clock_.activeTimers(), 0u);
}

TEST_F(MonitorTest, DamagedBufferGivesUpItsGoodRecordsOnly) {
    files_.put("/in/good.avi", 10);
    start();
    std::vector<std::uint8_t> bytes(ChangeBufferSize);
    ChangeRecordWriter writer(bytes);
    ASSERT_TRUE(writer.append(FILE_ACTION_ADDED, "good.avi"));
    ASSERT_TRUE(writer.append(FILE_ACTION_ADDED, "bad.avi"));
    storeU32(bytes.data() + 20 + 8, 5000);  // the second record claims a name past the buffer
    source_->feedRaw(bytes, static_cast<std::uint32_t>(bytes.size()));
    source_->waitIdle();
    EXPECT_EQ(monitor_->WaitingCount(), 1u);
    clock_.advance(ms(2600));
    EXPECT_EQ(delivered_, std::vector<std::string>{"/in/good.avi"});
}

TEST_F(MonitorTest, ReadyFilesOfAMonitorThatIsGoneAreDroppedNotDelivered) {
    files_.put("/in/clip.avi", 10);
    start();
    added("clip.avi");
    clock_.advance(ms(2500));
    ASSERT_EQ(hub_.ReadyCount(), 1u);
    monitor_.reset();

    auto otherSource = std::make_unique<FakeChangeSource>();
    DirectoryMonitor other(hub_, std::move(otherSource), files_.probes());
    std::vector<std::string> otherDelivered;
    other.Start("/in", ".avi", false, [&](const std::string& p) { otherDelivered.push_back(p); });
    clock_.advance(ms(200));
    EXPECT_EQ(hub_.ReadyCount(), 0u);
    EXPECT_TRUE(otherDelivered.empty());
    EXPECT_TRUE(delivered_.empty());
}

} // namespace

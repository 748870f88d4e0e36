// The monitor for real: inotify, the real file probes and the real clock. A file copied slowly
// into a sub-directory tree that appears with it is delivered exactly once, after the copier has
// closed it, under the name it has on disk. Nothing here measures time; the waits only bound how
// long a broken monitor can keep the test from failing.
#include "RealClockScheduler.h"
#include "fixtures/TempDir.h"
#include "hotdir/MonitorHub.h"
#include "hotdir/uHotDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

using namespace pellucor;
using namespace pellucor::hotdir;
namespace fs = std::filesystem;

namespace {

// Copies like a slow network copy: the file is created, filled in pieces with pauses, closed.
class SlowCopier {
public:
    SlowCopier(fs::path target, int pieces) : thread_([this, target, pieces] {
        fs::create_directories(target.parent_path());
        std::ofstream out(target, std::ios::binary);
        for (int i = 0; i < pieces; ++i) {
            out << std::string(64 * 1024, static_cast<char>('a' + i % 26)) << std::flush;
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
        out.close();
        closed = true;
    }) {}
    ~SlowCopier() { thread_.join(); }
    std::atomic<bool> closed{false};

private:
    std::thread thread_;
};

TEST(HotDirEndToEnd, SlowCopyIntoNewSubDirectoriesIsDeliveredOnceAfterItIsClosed) {
    fs::path in;
    fixtures::TempDir dir;
    in = dir / "In Box";
    fs::create_directory(in);
    test::RealClockScheduler clock;
    MonitorHub hub(clock);
    DirectoryMonitor monitor(hub);

    struct Delivery {
        std::string path;
        bool copierClosed;
    };
    std::vector<Delivery> delivered;
    std::atomic<bool>* firstClosed = nullptr;
    std::atomic<bool>* secondClosed = nullptr;
    monitor.Start("  " + in.string() + " ", ".avi", true, [&](const std::string& path) {
        const bool first = path.find("Clip One") != std::string::npos;
        std::atomic<bool>* closed = first ? firstClosed : secondClosed;
        delivered.push_back({path, closed && closed->load()});
    });
    EXPECT_EQ(monitor.Directory, in.string());

    const fs::path first = in / "Day 1" / "Morning" / "Clip One.AVI";
    const fs::path second = in / "second.avi";
    {
        SlowCopier copier(first, 12);
        firstClosed = &copier.closed;
        std::ofstream(in / "Day 1" / "notes.txt").put('x');  // not a video: never delivered
        ASSERT_TRUE(clock.runUntil([&] { return !delivered.empty(); }, std::chrono::seconds(60)))
            << "the copied file never arrived";
    }
    {
        // A later file: by the time it arrives, any second delivery of the first would have too.
        SlowCopier copier(second, 3);
        secondClosed = &copier.closed;
        ASSERT_TRUE(clock.runUntil([&] { return delivered.size() >= 2; }, std::chrono::seconds(60)))
            << "the second file never arrived";
    }
    monitor.Stop();

    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0].path, first.string());
    EXPECT_TRUE(delivered[0].copierClosed) << "handed over while the copier still held it";
    EXPECT_EQ(delivered[1].path, second.string());
    EXPECT_TRUE(delivered[1].copierClosed);
    EXPECT_EQ(hub.ReadyCount(), 0u);
}

} // namespace

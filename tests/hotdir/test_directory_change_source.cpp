// The inotify change source on real folders: which events become which change records, the tree
// of watches as directories come, move and go, names as raw bytes relative to the watched
// folder, many events spread over several buffers, the kernel queue overflowing, and the wake-up
// that ends a read. Reads are bounded: a watchdog wakes the source when expected records never
// come, so a fault fails the test instead of hanging it.
#include "fixtures/TempDir.h"
#include "platform/ChangeRecords.h"
#include "platform/DirectoryChangeSource.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace pellucor::platform;
using pellucor::fixtures::TempDir;
namespace fs = std::filesystem;

namespace {

struct Rec {
    std::uint32_t action;
    std::string name;
    bool operator==(const Rec&) const = default;
    bool operator<(const Rec& o) const { return std::tie(action, name) < std::tie(o.action, o.name); }
};

std::ostream& operator<<(std::ostream& out, const Rec& r) { return out << "{" << r.action << ", " << r.name << "}"; }

void writeFile(const fs::path& path, const std::string& content = "data") {
    std::ofstream(path, std::ios::binary) << content;
}

// Reads until enough(records) holds; gives up (by waking the source) after 20 s.
class Reader {
public:
    explicit Reader(DirectoryChangeSource& source) : source_(source) {}

    bool readUntil(const std::function<bool(const std::vector<Rec>&)>& enough) {
        bool done = false;
        std::mutex m;
        std::condition_variable cv;
        std::thread watchdog([&] {
            std::unique_lock lock(m);
            if (!cv.wait_for(lock, std::chrono::seconds(20), [&] { return done; })) source_.Wake();
        });
        bool ok = true;
        while (!enough(records)) {
            std::vector<std::uint8_t> buffer(ChangeBufferSize);
            std::uint32_t bytes = 0;
            if (!source_.Read(buffer, bytes)) {
                ok = false;
                break;
            }
            ++reads;
            maxBytes = std::max(maxBytes, bytes);
            // A straightforward walk: the source must only ever write well-formed chains.
            for (std::size_t at = 0;;) {
                const std::uint32_t next = loadU32(buffer.data() + at);
                const std::uint32_t length = loadU32(buffer.data() + at + 8);
                records.push_back({loadU32(buffer.data() + at + 4),
                                   std::string(reinterpret_cast<const char*>(buffer.data()) + at + 12, length)});
                if (next == 0) break;
                at += next;
            }
        }
        {
            std::lock_guard lock(m);
            done = true;
        }
        cv.notify_all();
        watchdog.join();
        return ok;
    }
    bool readUntilSeen(const Rec& wanted) {
        return readUntil([&](const std::vector<Rec>& r) { return std::find(r.begin(), r.end(), wanted) != r.end(); });
    }
    // Records in order, runs of the same record folded into one (a write and the close after it
    // are both "modified").
    std::vector<Rec> folded() const {
        std::vector<Rec> out;
        for (const Rec& r : records)
            if (out.empty() || !(out.back() == r)) out.push_back(r);
        return out;
    }
    bool seen(const Rec& r) const { return std::find(records.begin(), records.end(), r) != records.end(); }

    std::vector<Rec> records;
    int reads = 0;
    std::uint32_t maxBytes = 0;

private:
    DirectoryChangeSource& source_;
};

constexpr std::uint32_t Filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                 FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

TEST(DirectoryChangeSource, FileEventsBecomeTheirActions) {
    TempDir dir;
    fs::create_directory(dir / "in");
    fs::create_directory(dir / "elsewhere");
    DirectoryChangeSource source;
    source.Open((dir / "in").string(), false, Filter);

    writeFile(dir / "in/a.avi");
    fs::rename(dir / "in/a.avi", dir / "in/b.avi");
    writeFile(dir / "elsewhere/c.avi");
    fs::rename(dir / "elsewhere/c.avi", dir / "in/c.avi");
    fs::rename(dir / "in/b.avi", dir / "elsewhere/b.avi");
    fs::remove(dir / "in/c.avi");
    fs::create_directory(dir / "in/Folder");
    writeFile(dir / "in/marker");

    Reader reader(source);
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "marker"}));
    const std::vector<Rec> expected = {
        {FILE_ACTION_ADDED, "a.avi"},
        {FILE_ACTION_MODIFIED, "a.avi"},
        {FILE_ACTION_RENAMED_OLD_NAME, "a.avi"},
        {FILE_ACTION_RENAMED_NEW_NAME, "b.avi"},
        {FILE_ACTION_RENAMED_NEW_NAME, "c.avi"},
        {FILE_ACTION_RENAMED_OLD_NAME, "b.avi"},
        {FILE_ACTION_REMOVED, "c.avi"},
        {FILE_ACTION_ADDED, "Folder"},
        {FILE_ACTION_ADDED, "marker"},
    };
    std::vector<Rec> got = reader.folded();
    got.erase(std::find(got.begin(), got.end(), expected.back()) + 1, got.end());  // the marker's own write may follow
    EXPECT_EQ(got, expected);
}

TEST(DirectoryChangeSource, NamesComeBackAsTheirBytes) {
    TempDir dir;
    DirectoryChangeSource source;
    source.Open(dir.path().string(), false, Filter);
    const std::vector<std::string> names = {"\xFF\xFE not utf-8 \x80.avi", "\xC3\x84pfel \"quoted\".AVI",
                                            "-leading dash.avi", "Mixed Case.Avi"};
    for (const auto& name : names) writeFile(dir / name);
    Reader reader(source);
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, names.back()}));
    for (const auto& name : names) EXPECT_TRUE(reader.seen({FILE_ACTION_ADDED, name})) << name;
}

TEST(DirectoryChangeSource, WithoutTheTreeSubDirectoryFilesAreNotSeen) {
    TempDir dir;
    DirectoryChangeSource source;
    source.Open(dir.path().string(), false, Filter);
    fs::create_directory(dir / "sub");
    Reader reader(source);
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "sub"}));
    writeFile(dir / "sub/x.avi");
    writeFile(dir / "marker");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "marker"}));
    for (const Rec& r : reader.records) EXPECT_EQ(r.name.find("sub/"), std::string::npos) << r;
    EXPECT_EQ(source.watchedDirectories(), 1u);
}

TEST(DirectoryChangeSource, TreeWatchesFollowDirectoriesThatComeMoveAndGo) {
    TempDir dir;
    fs::create_directories(dir / "in/Old/Deep");
    fs::create_directories(dir / "staging/Day1/Morning");
    writeFile(dir / "staging/Day1/first.avi");
    writeFile(dir / "staging/Day1/Morning/second.avi");
    DirectoryChangeSource source;
    source.Open((dir / "in").string(), true, Filter);
    EXPECT_EQ(source.watchedDirectories(), 3u) << "the tree as it was at the start";
    Reader reader(source);

    // A tree moved in, with files made before any watch could exist: found by listing it.
    fs::rename(dir / "staging/Day1", dir / "in/Day1");
    writeFile(dir / "in/marker1");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "marker1"}));
    EXPECT_TRUE(reader.seen({FILE_ACTION_RENAMED_NEW_NAME, "Day1"}));
    EXPECT_TRUE(reader.seen({FILE_ACTION_ADDED, "Day1/first.avi"}));
    EXPECT_TRUE(reader.seen({FILE_ACTION_ADDED, "Day1/Morning"}));
    EXPECT_TRUE(reader.seen({FILE_ACTION_ADDED, "Day1/Morning/second.avi"}));
    EXPECT_EQ(source.watchedDirectories(), 5u);

    // Files in the new directories are reported by their own watches from now on.
    writeFile(dir / "in/Day1/Morning/third.avi");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "Day1/Morning/third.avi"}));

    // A directory made and filled in one go.
    fs::create_directories(dir / "in/Fresh/Inner");
    writeFile(dir / "in/Fresh/Inner/quick.avi");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "Fresh/Inner/quick.avi"}));

    // Renamed within the tree: same watches, new names.
    fs::rename(dir / "in/Old", dir / "in/New");
    writeFile(dir / "in/New/Deep/moved.avi");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "New/Deep/moved.avi"}));

    // Moved out of the tree: no longer watched, nothing more from it.
    fs::rename(dir / "in/Day1", dir / "staging/Day1");
    writeFile(dir / "in/marker2");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "marker2"}));
    const std::size_t before = reader.records.size();
    writeFile(dir / "staging/Day1/Morning/outside.avi");
    fs::remove_all(dir / "in/Fresh");
    writeFile(dir / "in/marker3");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "marker3"}));
    for (std::size_t i = before; i < reader.records.size(); ++i)
        EXPECT_EQ(reader.records[i].name.find("outside"), std::string::npos) << reader.records[i];
    EXPECT_TRUE(reader.seen({FILE_ACTION_REMOVED, "Fresh"}));
    EXPECT_EQ(source.watchedDirectories(), 3u) << "root, New, New/Deep";
}

TEST(DirectoryChangeSource, EventsBeyondOneBufferComeWithTheNextReadNoneDropped) {
    TempDir dir;
    DirectoryChangeSource source;
    source.Open(dir.path().string(), false, Filter);
    std::set<std::string> names;
    for (int i = 0; i < 400; ++i) {
        const std::string name = "clip-number-" + std::to_string(1000 + i) + "-with-a-longish-name.avi";
        writeFile(dir / name);
        names.insert(name);
    }
    Reader reader(source);
    ASSERT_TRUE(reader.readUntil([&](const std::vector<Rec>& r) {
        return std::count_if(r.begin(), r.end(), [](const Rec& x) { return x.action == FILE_ACTION_ADDED; }) >= 400;
    }));
    std::set<std::string> added;
    for (const Rec& r : reader.records)
        if (r.action == FILE_ACTION_ADDED) added.insert(r.name);
    EXPECT_EQ(added, names);
    EXPECT_GT(reader.reads, 5) << "400 records of 60 bytes cannot fit one buffer";
    EXPECT_LE(reader.maxBytes, ChangeBufferSize);
}

TEST(DirectoryChangeSource, RescanAfterOverflowReportsRecentFilesAsModified) {
    TempDir dir;
    fs::create_directories(dir / "in/sub");
    DirectoryChangeSource source;
    source.Open((dir / "in").string(), true, Filter);
    writeFile(dir / "in/top.avi");
    writeFile(dir / "in/sub/below.avi");
    writeFile(dir / "in/marker");
    Reader reader(source);
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "marker"}));
    reader.records.clear();

    source.RescanAfterOverflow();
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_MODIFIED, "sub/below.avi"}));
    std::set<Rec> got(reader.records.begin(), reader.records.end());
    EXPECT_EQ(got, (std::set<Rec>{{FILE_ACTION_MODIFIED, "top.avi"},
                                  {FILE_ACTION_MODIFIED, "sub/below.avi"},
                                  {FILE_ACTION_MODIFIED, "marker"}}))
        << "files changed just now, directories left out";
}

// The real thing: more events than the kernel queues. Changes made after the queue filled
// are lost by the kernel and must come back through the rescan, and a directory made then must
// get its watch.
TEST(DirectoryChangeSource, KernelQueueOverflowLosesNoFile) {
    std::ifstream limitFile("/proc/sys/fs/inotify/max_queued_events");
    long limit = 0;
    if (!(limitFile >> limit) || limit > 200000) GTEST_SKIP() << "kernel queue too large to fill: " << limit;

    TempDir dir;
    fs::create_directory(dir / "in");
    writeFile(dir / "in/p.dat");
    writeFile(dir / "in/q.dat");
    DirectoryChangeSource source;
    source.Open((dir / "in").string(), true, Filter);
    {
        const int p = ::open((dir / "in/p.dat").c_str(), O_WRONLY | O_APPEND);
        const int q = ::open((dir / "in/q.dat").c_str(), O_WRONLY | O_APPEND);
        ASSERT_GE(p, 0);
        ASSERT_GE(q, 0);
        // Alternating files, so the kernel cannot fold the events together.
        for (long i = 0; i < limit / 2 + 100; ++i) {
            ASSERT_EQ(::write(p, "x", 1), 1);
            ASSERT_EQ(::write(q, "y", 1), 1);
        }
        ::close(p);
        ::close(q);
    }
    fs::create_directory(dir / "in/late");
    writeFile(dir / "in/late/lost.avi");

    Reader reader(source);
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_MODIFIED, "late/lost.avi"}));
    writeFile(dir / "in/late/after.avi");
    ASSERT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "late/after.avi"}));
}

TEST(DirectoryChangeSource, WakeEndsTheReadAndEveryLaterOne) {
    TempDir dir;
    DirectoryChangeSource source;
    source.Open(dir.path().string(), false, Filter);
    std::vector<std::uint8_t> buffer(ChangeBufferSize);
    std::uint32_t bytes = 99;
    std::thread waker([&] { source.Wake(); });
    EXPECT_FALSE(source.Read(buffer, bytes));
    waker.join();
    EXPECT_EQ(bytes, 0u);
    writeFile(dir / "after.avi");
    EXPECT_FALSE(source.Read(buffer, bytes)) << "still woken";

    source.Close();
    source.Open(dir.path().string(), false, Filter);
    writeFile(dir / "again.avi");
    Reader reader(source);
    EXPECT_TRUE(reader.readUntilSeen({FILE_ACTION_ADDED, "again.avi"})) << "a new Open is not woken";
}

TEST(DirectoryChangeSource, OpenFailsWithTheSystemsMessage) {
    TempDir dir;
    writeFile(dir / "file.avi");
    struct Case {
        const char* name;
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {"missing", (dir / "missing").string(), "No such file or directory"},
        {"a file", (dir / "file.avi").string(), "Not a directory"},
        {"empty path", "", "No such file or directory"},
    };
    DirectoryChangeSource source;
    for (const auto& c : cases) {
        try {
            source.Open(c.path, true, Filter);
            ADD_FAILURE() << c.name << ": Open did not raise";
        } catch (const ChangeSourceError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_EQ(source.watchedDirectories(), 0u) << c.name;
    }
    source.Open(dir.path().string(), false, Filter);
    EXPECT_EQ(source.watchedDirectories(), 1u);
}

} // namespace

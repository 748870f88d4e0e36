// Output folders that fail: read-only, moved away while a job writes into it, on a full file
// system. A batch of two files runs through the real batch driver and component; every failure
// is an error row with a clear memo line, an earlier file of the same name survives untouched and
// nothing half-written appears under a final name.
//
// Each run happens in a child process, so that its mounts (a read-only bind, a small tmpfs) live
// in a mount namespace of its own and vanish with it. The child reports what it saw, the folders'
// contents included, as lines of text that the parent checks.
#include "EngineRun.h"
#include "FolderFaults.h"
#include "ForkedChild.h"
#include "Probe.h"
#include "conversion/BatchDriver.h"
#include "conversion/OutputName.h"
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <thread>

namespace pellucor::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using conversion::RowPicture;

const std::string kEarlier = "the earlier first.mp4 of the user's, which must survive\n";

using fixtures::readFile;

// The file list of a batch: two source files.
struct Rows : conversion::BatchRows {
    std::vector<std::string> paths;
    std::vector<bool> takenMarks;
    std::vector<RowPicture> pictures;
    explicit Rows(std::vector<std::string> p) : paths(std::move(p)), takenMarks(paths.size()), pictures(paths.size()) {}
    int rowCount() const override { return static_cast<int>(paths.size()); }
    std::string fullPath(int r) const override { return paths[r]; }
    std::string caption(int r) const override { return conversion::FileNameOf(paths[r]); }
    bool taken(int r) const override { return takenMarks[r]; }
    void setTaken(int r, bool t) override { takenMarks[r] = t; }
    void setPicture(int r, RowPicture p) override { pictures[r] = p; }
    void resetRow(int r) override { takenMarks[r] = false, pictures[r] = conversion::PictureWaiting; }
};

struct View : conversion::BatchView {
    std::vector<std::string> memo;
    bool ended = false;
    void setRunning(bool) override {}
    void storePresetSelections() override {}
    void appendMemo(const std::string& line) override { memo.push_back(line); }
    void showProgress(int) override {}
    void resetProgress() override {}
    void hideProgress() override {}
    void warnMissingFile(const std::string& path) override { memo.push_back("missing " + path); }
    void runEnded(const std::string&) override { ended = true; }
};

// The real component, with a moment for the test right after a job has started writing.
struct HookedEdit : engine::VideoEdit {
    using engine::VideoEdit::VideoEdit;
    std::function<void()> afterStart;
    void Start() override {
        engine::VideoEdit::Start();
        if (afterStart) std::exchange(afterStart, nullptr)();
    }
};

struct Folders {
    fs::path src, out, moved;
};

// Child side: the batch of first.avi and second.avi into out, as MP4, then the report.
std::string runBatch(const Folders& f, const std::function<void()>& afterFirstStart) {
    ManualScheduler scheduler;
    HookedEdit edit(scheduler);
    edit.Video_Preview_Enabled = false;
    edit.afterStart = afterFirstStart;
    TcdSettings settings;
    Rows rows({(f.src / "first.avi").string(), (f.src / "second.avi").string()});
    View view;
    conversion::BatchDriver driver(scheduler, edit, settings, rows, view);
    edit.OnStart = [&] { driver.VideoEditStart(); };
    edit.OnProgress = [&](int p) { driver.VideoEditProgress(p); };
    edit.OnError = [&](int code, const std::string& text) { driver.VideoEditError(code, text); };
    edit.OnStop = [&] { driver.VideoEditStop(); };
    if (!driver.Convert(f.out.string(), 1)) return "refused";
    // The driver's 500 ms beat on the manual clock; the real jobs in between on their threads.
    const auto giveUp = std::chrono::steady_clock::now() + 300s;
    while (driver.Running() && std::chrono::steady_clock::now() < giveUp) {
        if (scheduler.runPosted() > 0) continue;
        if (edit.IsRunning()) std::this_thread::sleep_for(2ms);
        else scheduler.advance(500ms);
    }
    std::ostringstream report;
    if (driver.Running()) report << "unfinished\n";
    for (int r = 0; r < rows.rowCount(); ++r) report << "row " << r << " " << rows.pictures[r] << "\n";
    for (const std::string& line : view.memo)
        if (line.rfind("[Error message]: ", 0) == 0) report << "error " << line.substr(17) << "\n";
    for (const fs::path& folder : {f.out, f.moved}) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(folder, ec)) {
            const std::string bytes = readFile(e.path());
            const bool readable = bytes != kEarlier && e.path().extension() == ".mp4" && probe(e.path()).readable;
            report << "file " << folder.filename().string() << "/" << e.path().filename().string() << " "
                   << (bytes == kEarlier ? "earlier" : readable ? "readable" : "other") << "\n";
        }
    }
    return report.str();
}

// What the child saw, read back.
struct Seen {
    std::vector<int> rows;
    std::vector<std::string> errors;
    std::vector<std::string> files;  // "out/first.mp4 earlier", ...
    bool has(const std::string& file) const { return std::find(files.begin(), files.end(), file) != files.end(); }
};

Seen parse(const std::string& reply) {
    Seen seen;
    std::istringstream lines(reply);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("row ", 0) == 0) seen.rows.push_back(line.back() - '0');
        else if (line.rfind("error ", 0) == 0) seen.errors.push_back(line.substr(6));
        else if (line.rfind("file ", 0) == 0) seen.files.push_back(line.substr(5));
    }
    return seen;
}

struct HostileFolders : ::testing::Test {
    fixtures::TempDir dir;
    Folders f{dir / "src", dir / "out", dir / "out.moved"};

    void SetUp() override {
        fs::create_directories(f.src);
        fs::create_directories(f.out);
        fixtures::AviSpec spec;  // one second: long enough to be mid-write when the folder moves
        fixtures::writeAvi(f.src / "first.avi", spec);
        fixtures::writeAvi(f.src / "second.avi", spec);
        std::ofstream(f.out / "first.mp4", std::ios::binary) << kEarlier;
    }

    ChildEnd run(const std::function<std::string()>& body) {
        ForkedChild child([&](ForkedChild&) { return body(); });
        return child.wait(std::chrono::milliseconds(300000));
    }
};

TEST_F(HostileFolders, AReadOnlyFolderFailsEveryRowAndKeepsTheEarlierFile) {
    // A read-only bind mount where the machine allows one; the immutable flag otherwise.
    ChildEnd end = run([&]() -> std::string {
        std::string why = enterPrivateMounts();
        if (why.empty()) why = mountReadOnly(f.out);
        if (!why.empty()) return "cannot: " + why;
        return runBatch(f, nullptr);
    });
    std::string how = "a read-only bind mount";
    std::unique_ptr<ImmutableFolder> immutable;
    if (end.reply.rfind("cannot: ", 0) == 0) {
        immutable = std::make_unique<ImmutableFolder>(f.out);
        if (!immutable->error().empty())
            GTEST_SKIP() << "no way to make a folder read-only for root here: " << end.reply << "; "
                         << immutable->error();
        how = "the immutable flag";
        end = run([&] { return runBatch(f, nullptr); });
    }
    ASSERT_TRUE(end.exited) << how << ": the batch " << end.describe() << ": " << end.reply;
    const Seen seen = parse(end.reply);
    EXPECT_EQ(seen.rows, (std::vector<int>{conversion::PictureFailed, conversion::PictureFailed})) << end.reply;
    ASSERT_EQ(seen.errors.size(), 2u) << end.reply;
    for (const std::string& e : seen.errors)
        EXPECT_NE(e.find(f.out.string()), std::string::npos) << how << ": the message does not name the folder: " << e;
    EXPECT_EQ(seen.files, std::vector<std::string>{"out/first.mp4 earlier"}) << how << "\n" << end.reply;
}

TEST_F(HostileFolders, AFolderMovedAwayMidJobFailsThatRowOnlyAndLosesNothing) {
    const ChildEnd end = run([&] { return runBatch(f, [&] { fs::rename(f.out, f.moved); }); });
    ASSERT_TRUE(end.exited) << "the batch " << end.describe() << ": " << end.reply;
    const Seen seen = parse(end.reply);
    // The first job cannot put its file where the folder was; the second makes the folder anew.
    EXPECT_EQ(seen.rows, (std::vector<int>{conversion::PictureFailed, conversion::PictureConverted})) << end.reply;
    ASSERT_EQ(seen.errors.size(), 1u) << end.reply;
    EXPECT_NE(seen.errors[0].find(f.out.string()), std::string::npos)
        << "the message does not name the folder: " << seen.errors[0];
    EXPECT_TRUE(seen.has("out.moved/first.mp4 earlier")) << end.reply;
    EXPECT_TRUE(seen.has("out/second.mp4 readable")) << end.reply;
    for (const std::string& file : seen.files) {
        // Only the moved job's temporary file may be left beside the earlier file (the engine
        // removes it by its old path, which no longer exists).
        const bool expected = file == "out.moved/first.mp4 earlier" || file == "out/second.mp4 readable" ||
                              file.rfind("out.moved/.first.mp4.part-", 0) == 0;
        EXPECT_TRUE(expected) << "unexpected: " << file;
    }
}

TEST_F(HostileFolders, AFullFileSystemFailsEveryRowAndKeepsTheEarlierFile) {
    const ChildEnd end = run([&]() -> std::string {
        std::string why = enterPrivateMounts();
        if (why.empty()) why = mountSmallTmpfs(f.out, 200 * 1024);
        if (!why.empty()) return "cannot: " + why;
        std::ofstream(f.out / "first.mp4", std::ios::binary) << kEarlier;
        // Fill it up to the last few pages: each job's MP4 (well over 100 kB) cannot fit.
        struct statvfs fsInfo {};
        ::statvfs(f.out.c_str(), &fsInfo);
        const std::size_t free = fsInfo.f_bavail * fsInfo.f_frsize;
        std::ofstream(f.out / "filler", std::ios::binary) << std::string(free > 24576 ? free - 24576 : 0, 'f');
        return runBatch(f, nullptr);
    });
    if (end.reply.rfind("cannot: ", 0) == 0)
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << end.reply.substr(8)
                     << "), so there is no full file system to write to";
    ASSERT_TRUE(end.exited) << "the batch " << end.describe() << ": " << end.reply;
    const Seen seen = parse(end.reply);
    EXPECT_EQ(seen.rows, (std::vector<int>{conversion::PictureFailed, conversion::PictureFailed})) << end.reply;
    ASSERT_EQ(seen.errors.size(), 2u) << end.reply;
    for (const std::string& e : seen.errors)
        EXPECT_NE(e.find("No space left on device"), std::string::npos) << "the message does not say why: " << e;
    std::vector<std::string> files = seen.files;
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"out/filler other", "out/first.mp4 earlier"})) << end.reply;
}

} // namespace
} // namespace pellucor::test

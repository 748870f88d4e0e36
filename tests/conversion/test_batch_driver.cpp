#include "RecordingVideoEdit.h"
#include "ManualScheduler.h"
#include "conversion/BatchDriver.h"
#include "fixtures/TempDir.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace pellucor;
using namespace pellucor::conversion;
using namespace std::chrono_literals;

namespace {

struct Row {
    std::string path;
    bool taken = false;
    int picture = 0;
};

struct FakeRows : BatchRows {
    std::vector<Row> rows;
    int rowCount() const override { return static_cast<int>(rows.size()); }
    std::string fullPath(int r) const override { return rows[r].path; }
    std::string caption(int r) const override { return std::filesystem::path(rows[r].path).filename(); }
    bool taken(int r) const override { return rows[r].taken; }
    void setTaken(int r, bool t) override { rows[r].taken = t; }
    void setPicture(int r, RowPicture p) override { rows[r].picture = p; }
    void resetRow(int r) override { rows[r].taken = false, rows[r].picture = 0; }
    std::vector<int> pictures() const
    {
        std::vector<int> p;
        for (auto& r : rows) p.push_back(r.picture);
        return p;
    }
};

struct FakeView : BatchView {
    std::vector<std::string> memo;
    std::vector<std::string> events;
    std::string lastOutput;
    int progress = -1;
    bool running = false;
    void setRunning(bool r) override { running = r, events.push_back(r ? "running" : "idle"); }
    void storePresetSelections() override { events.push_back("store"); }
    void appendMemo(const std::string& l) override { memo.push_back(l); }
    void showProgress(int p) override { progress = p; }
    void resetProgress() override { progress = 0; }
    void hideProgress() override { progress = -1; }
    void warnMissingFile(const std::string& p) override { events.push_back("missing " + p); }
    void runEnded(const std::string& last) override { lastOutput = last, events.push_back("end"); }
};

// Memo lines with their times blanked, so a run's lines compare exactly.
std::vector<std::string> untimed(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const auto& l : lines) {
        const auto close = l.find(']');
        const bool timed = !l.empty() && l[0] == '[' && close != std::string::npos &&
                           (l.compare(close + 1, 4, "Load") == 0 || l.compare(close + 1, 7, "Convert") == 0);
        out.push_back(timed ? "[t]" + l.substr(close + 1) : l);
    }
    return out;
}

struct BatchDriverTest : ::testing::Test {
    test::ManualScheduler scheduler;
    test::RecordingVideoEdit edit{scheduler};
    TcdSettings settings;
    FakeRows rows;
    FakeView view;
    fixtures::TempDir dir;
    BatchDriver driver{scheduler, edit, settings, rows, view};

    void addFiles(std::initializer_list<const char*> names)
    {
        for (auto n : names) {
            const auto p = dir.path() / n;
            std::ofstream(p) << "x";
            rows.rows.push_back({p.string()});
        }
    }
    std::string out() { return (dir.path() / "out").string(); }
    // Three rows, the first converted, the second's job started.
    void convertFirstOfThree()
    {
        addFiles({"a.avi", "b.avi", "c.avi"});
        ASSERT_TRUE(driver.Convert(out(), 0));
        scheduler.advance(500ms);
        finishJob();
        scheduler.advance(500ms);
    }
    // One job: the tick that starts it, then the component's end events.
    void finishJob(bool completed = true)
    {
        edit.completed = completed;
        driver.VideoEditStart();
        driver.VideoEditProgress(50);
        driver.VideoEditStop();
    }
};

} // namespace

TEST_F(BatchDriverTest, ConvertsEveryRowInOrderAndEndsTheRun)
{
    addFiles({"a.avi", "b.avi"});
    settings.PageIndex = 0;
    ASSERT_TRUE(driver.Convert(out(), 1));
    EXPECT_EQ(settings.SavePath, out());
    EXPECT_EQ(settings.PageIndex, 1);
    scheduler.advance(500ms);
    EXPECT_EQ(edit.starts, 1);
    EXPECT_EQ(edit.Output_File_Name, out() + "/a.mp4");
    scheduler.advance(500ms);
    EXPECT_EQ(edit.starts, 1) << "no second job while one runs";
    finishJob();
    scheduler.advance(500ms);
    EXPECT_EQ(edit.Output_File_Name, out() + "/b.mp4");
    finishJob();
    scheduler.advance(500ms);

    const std::vector<std::string> expected = {
        "Task begin",
        "[t]Load: a.avi [Success]", "[t]Convert to: a.mp4 [Success]",
        "[t]Load: b.avi [Success]", "[t]Convert to: b.mp4 [Success]",
        "Task End", ""};
    EXPECT_EQ(untimed(view.memo), expected);
    EXPECT_EQ(rows.pictures(), (std::vector<int>{2, 2}));
    EXPECT_EQ(view.events, (std::vector<std::string>{"running", "store", "idle", "end"}));
    EXPECT_EQ(view.lastOutput, out() + "/b.mp4");
    EXPECT_FALSE(driver.Running());
    EXPECT_EQ(scheduler.activeTimers(), 0u);
}

TEST_F(BatchDriverTest, AFailingMiddleRowShowsItsErrorAndTheRunGoesOn)
{
    convertFirstOfThree();
    driver.VideoEditError(1, "Cannot decode b.avi");
    scheduler.advance(500ms);
    finishJob();
    scheduler.advance(500ms);
    EXPECT_EQ(rows.pictures(), (std::vector<int>{2, 1, 2}));
    const std::vector<std::string> expected = {
        "Task begin", "[t]Load: a.avi [Success]", "[t]Convert to: a.mpeg [Success]",
        "[t]Load: b.avi [Success]", "[Error message]: Cannot decode b.avi",
        "[t]Load: c.avi [Success]", "[t]Convert to: c.mpeg [Success]", "Task End", ""};
    EXPECT_EQ(untimed(view.memo), expected);
}

TEST_F(BatchDriverTest, StopDuringTheSecondRowLeavesItWaitingAndTheThirdUntouched)
{
    convertFirstOfThree();
    EXPECT_TRUE(driver.JobPending());
    driver.Stop();
    EXPECT_EQ(edit.stops, 1);
    EXPECT_FALSE(view.running);
    EXPECT_TRUE(driver.JobPending()) << "the aborted job's end is still this run's to handle";
    finishJob(/*completed=*/false);  // the stop event of the aborted job
    EXPECT_FALSE(driver.JobPending());
    scheduler.advance(2000ms);
    EXPECT_EQ(rows.pictures(), (std::vector<int>{2, 0, 0}));
    EXPECT_TRUE(rows.rows[1].taken);
    EXPECT_FALSE(rows.rows[2].taken);
    EXPECT_EQ(edit.starts, 2);
    for (const auto& line : view.memo) EXPECT_EQ(line.find("b.mpeg"), std::string::npos) << line;

    // Convert again starts from the top.
    ASSERT_TRUE(driver.Convert(out(), 0));
    scheduler.advance(500ms);
    EXPECT_EQ(edit.Output_File_Name, out() + "/a.mpeg");
}

TEST_F(BatchDriverTest, AJobThatCannotStartFailsItsRowAndTheNextOneRuns)
{
    addFiles({"a.avi", "b.avi"});
    settings.MP3Samplerate = "fast";
    ASSERT_TRUE(driver.Convert(out(), 5));
    scheduler.advance(500ms);
    EXPECT_EQ(rows.pictures()[0], 1);
    EXPECT_FALSE(driver.JobPending()) << "no event will come for a job that never started";
    EXPECT_EQ(view.memo.back(), "[Error message]: 'fast' is not a valid integer value");
    scheduler.advance(500ms);
    EXPECT_TRUE(rows.rows[1].taken) << "the run went on";
    EXPECT_EQ(rows.pictures()[1], 1);
    scheduler.advance(500ms);
    EXPECT_EQ(view.memo.back(), "");
    EXPECT_FALSE(driver.Running());
}

TEST_F(BatchDriverTest, AMissingFileStopsTheStartAndKeepsTheSettings)
{
    addFiles({"a.avi"});
    rows.rows.push_back({(dir.path() / "gone.avi").string()});
    settings.SavePath = "/old";
    settings.PageIndex = 3;
    EXPECT_FALSE(driver.Convert(out(), 0));
    EXPECT_EQ(view.events.back(), "idle");
    EXPECT_EQ(view.events[view.events.size() - 2], "missing " + rows.rows[1].path);
    EXPECT_EQ(settings.SavePath, "/old");
    EXPECT_EQ(settings.PageIndex, 3);
    scheduler.advance(2000ms);
    EXPECT_EQ(edit.starts, 0);
}

TEST_F(BatchDriverTest, ARunConvertsAgainRowsThatWereDoneAndRowsAddedMeanwhile)
{
    addFiles({"a.avi"});
    rows.rows[0].picture = 2;
    rows.rows[0].taken = true;
    ASSERT_TRUE(driver.Convert(out(), 0));
    scheduler.advance(500ms);
    EXPECT_EQ(edit.starts, 1);
    addFiles({"late.avi"});
    finishJob();
    scheduler.advance(500ms);
    EXPECT_EQ(edit.Output_File_Name, out() + "/late.mpeg");
    EXPECT_TRUE(driver.Convert(out(), 0) == false) << "a second Convert during a run is refused";
}

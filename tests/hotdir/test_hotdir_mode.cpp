// The hot-directory mode on the manual clock: the checks of Run, the order of conversions, the
// mirrored output tree, the daily log lines and the mended failure paths. The component is a
// recorder; the monitor is real but fed by the test through the mode's HotDirFileReady.
#include "../conversion/RecordingVideoEdit.h"
#include "ManualScheduler.h"
#include "fixtures/TempDir.h"
#include "hotdir/HotDirMode.h"
#include "hotdir/MonitorHub.h"
#include "hotdir/uHotDir.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace pellucor;
using namespace pellucor::hotdir;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

struct HotDirModeTest : ::testing::Test {
    fixtures::TempDir dir;
    test::ManualScheduler scheduler;
    test::RecordingVideoEdit edit{scheduler};
    TcdSettings settings;
    MonitorHub hub{scheduler};
    DirectoryMonitor monitor{hub};
    HotDirMode mode{scheduler, edit, settings, monitor};
    std::vector<std::string> problems;
    HotDirFolders folders;

    void SetUp() override
    {
        settings.RegistryKey.clear();  // nothing of these tests reaches the user's hive
        for (auto d : {"in", "out", "log"}) fs::create_directories(dir / d);
        folders = {(dir / "in").string(), (dir / "out").string(), (dir / "log").string(), true};
        mode.OnProblem = [this](const std::string& p) { problems.push_back(p); };
        settings.PageIndex = 0;
    }
    void TearDown() override { mode.End(); }

    std::string in(const std::string& rel) { return (dir / "in" / rel).string(); }
    std::string out(const std::string& rel) { return (dir / "out" / rel).string(); }
    std::vector<std::string> logLines()
    {
        std::vector<std::string> lines;
        for (auto& e : fs::directory_iterator(dir / "log")) {
            std::ifstream f(e.path());
            std::string line;
            while (std::getline(f, line)) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                // Times are the clock's: blank them so lines compare exactly.
                const auto open = line.find(": [");
                if (open != std::string::npos && line.back() == ']' &&
                    (line.rfind("Start", 0) == 0 || line.rfind("Finish", 0) == 0))
                    line = line.substr(0, open) + ": [t]";
                lines.push_back(line);
            }
        }
        return lines;
    }
    void finish(bool completed = true)
    {
        edit.completed = completed;
        mode.VideoEditStop();
    }
};

} // namespace

TEST(HotDirFolderRules, OutputInsideInputIsComparedByCanonicalPaths)
{
    fixtures::TempDir dir;
    for (auto d : {"in", "in/converted", "data/in/out", "out"}) fs::create_directories(dir / d);
    fs::create_directory_symlink(dir / "in", dir / "link-to-in");
    struct Case {
        const char* name;
        std::string inner, outer;
        bool inside;
    } cases[] = {
        {"same folder", "in", "in", true},
        {"same with slash", "in/", "in", true},
        {"child", "in/converted", "in", true},
        {"dot-dot back inside", "out/../in/converted", "in", true},
        {"through a link", "link-to-in/converted", "in", true},
        {"name prefix only", "inbox", "in", false},
        {"input text inside output text", "data/in/out", "in", false},
        {"parent", "in", "in/converted", false},
        {"sibling", "out", "in", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSameOrInside((dir / c.inner).string(), (dir / c.outer).string()), c.inside) << c.name;
}

TEST(HotDirFolderRules, RelativeFileNameKeepsCaseAndFallsBackToTheName)
{
    EXPECT_EQ(RelativeFileName("/In/Day1/Clip.avi", "/In"), "Day1/Clip.avi");
    EXPECT_EQ(RelativeFileName("/In/Day1/Clip.avi", "/In/"), "Day1/Clip.avi");
    EXPECT_EQ(RelativeFileName("/in/Day1/Clip.avi", "/In"), "Clip.avi");
    EXPECT_EQ(RelativeFileName("/other/clip.avi", "/In"), "clip.avi");
}

TEST_F(HotDirModeTest, RunRefusesMissingFoldersAndAnOutputInsideTheInput)
{
    struct Case {
        const char* name;
        HotDirFolders f;
        RunRefusal expected;
    } cases[] = {
        {"no input", {"", folders.outDir, folders.logDir}, RunRefusal::MissingInput},
        {"missing input", {in("nope"), folders.outDir, folders.logDir}, RunRefusal::MissingInput},
        {"missing output", {folders.inDir, out("nope"), folders.logDir}, RunRefusal::MissingOutput},
        {"missing log", {folders.inDir, folders.outDir, (dir / "nolog").string()}, RunRefusal::MissingLog},
        {"output is input", {folders.inDir, folders.inDir, folders.logDir}, RunRefusal::OutputInsideInput},
    };
    for (const auto& c : cases) {
        settings.Indir = "unchanged";
        EXPECT_EQ(mode.Run(c.f), c.expected) << c.name;
        EXPECT_FALSE(mode.Running()) << c.name;
        EXPECT_EQ(settings.Indir, "unchanged") << c.name << ": nothing stored";
    }
    fs::create_directories(dir / "out/in2");
    EXPECT_EQ(HotDirMode::CheckFolders({(dir / "out/in2").string(), folders.outDir, folders.logDir}),
              RunRefusal::None);
}

TEST_F(HotDirModeTest, RunStartsTheMonitorAndStoresTheFolders)
{
    ASSERT_EQ(mode.Run(folders), RunRefusal::None);
    EXPECT_TRUE(mode.Running());
    EXPECT_TRUE(monitor.Running());
    EXPECT_TRUE(monitor.WatchSubtree);
    EXPECT_EQ(monitor.ExtFilter, ".avi");
    EXPECT_EQ(settings.Indir, folders.inDir);
    EXPECT_EQ(settings.OutDir, folders.outDir);
    EXPECT_EQ(settings.LogDir, folders.logDir);
    EXPECT_TRUE(settings.SubDir);
    mode.End();
    EXPECT_FALSE(monitor.Running());
}

TEST_F(HotDirModeTest, FilesConvertOneAtATimeInReportOrderIntoTheMirroredTree)
{
    ASSERT_EQ(mode.Run(folders), RunRefusal::None);
    mode.HotDirFileReady(in("A/B/one.avi"));
    mode.HotDirFileReady(in("two.avi"));
    scheduler.advance(500ms);
    EXPECT_EQ(edit.Output_File_Name, out("A/B/one.mpeg"));
    EXPECT_TRUE(fs::is_directory(dir / "out/A/B"));
    scheduler.advance(1500ms);
    EXPECT_EQ(edit.starts, 1) << "one job at a time";
    finish();
    scheduler.advance(500ms);
    EXPECT_EQ(edit.Output_File_Name, out("two.mpeg"));
    finish();
    scheduler.advance(500ms);
    EXPECT_EQ(edit.starts, 2);

    const std::vector<std::string> expected = {
        "Start: [t]", "Load: " + in("A/B/one.avi") + " [Success]",
        "Save to: " + out("A/B/one.mpeg") + " [Success]", "Finish: [t]",
        "Start: [t]", "Load: " + in("two.avi") + " [Success]",
        "Save to: " + out("two.mpeg") + " [Success]", "Finish: [t]"};
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(0), "1");
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(1), "1");
}

TEST_F(HotDirModeTest, AReportArrivingDuringItsOwnConversionIsConvertedAgainAfterwards)
{
    ASSERT_EQ(mode.Run(folders), RunRefusal::None);
    mode.HotDirFileReady(in("clip.avi"));
    scheduler.advance(500ms);
    mode.HotDirFileReady(in("clip.avi"));  // written again while converting
    finish();
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(0), "1");
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(1), "");
    scheduler.advance(500ms);
    EXPECT_EQ(edit.starts, 2);
    finish();
    // The second job's stop covers both reports of the file, as each report had its job.
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(1), "1");
    int saves = 0;
    for (auto& l : logLines()) saves += l.rfind("Save to: ", 0) == 0;
    EXPECT_EQ(saves, 3);
}

TEST_F(HotDirModeTest, FailuresMarkTheFileAndTheModeGoesOn)
{
    ASSERT_EQ(mode.Run(folders), RunRefusal::None);
    mode.HotDirFileReady(in("bad.avi"));
    mode.HotDirFileReady(in("good.avi"));
    scheduler.advance(500ms);
    mode.VideoEditError(5, "Cannot read bad.avi");
    scheduler.advance(500ms);
    finish();
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(0), "2");
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(1), "1");
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], "[Error message]: Cannot read bad.avi");
}

TEST_F(HotDirModeTest, AJobThatCannotBeBuiltFailsItsFileInsteadOfStallingTheMode)
{
    settings.PageIndex = 2;
    settings.WMVWidth = "wide";
    ASSERT_EQ(mode.Run(folders), RunRefusal::None);
    mode.HotDirFileReady(in("a.avi"));
    mode.HotDirFileReady(in("b.avi"));
    scheduler.advance(500ms);
    EXPECT_FALSE(mode.Busy());
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(0), "2");
    scheduler.advance(500ms);
    EXPECT_EQ(mode.ProcessedFiles().ValueAt(1), "2");
    EXPECT_EQ(edit.starts, 0);
    EXPECT_EQ(logLines()[2], "[Error message]: 'wide' is not a valid integer value");
}

TEST_F(HotDirModeTest, EndEmptiesTheTableAndTheAbortedJobWritesNoClosingLines)
{
    ASSERT_EQ(mode.Run(folders), RunRefusal::None);
    mode.HotDirFileReady(in("a.avi"));
    mode.HotDirFileReady(in("b.avi"));
    scheduler.advance(500ms);
    mode.End();
    EXPECT_EQ(edit.stops, 1);
    EXPECT_EQ(mode.ProcessedFiles().Count(), 0);
    finish(/*completed=*/false);
    EXPECT_FALSE(mode.Busy());
    EXPECT_EQ(logLines().size(), 2u);
    scheduler.advance(2000ms);
    EXPECT_EQ(edit.starts, 1);
}

TEST_F(HotDirModeTest, AVanishedLogFolderIsReportedAndConversionsGoOn)
{
    ASSERT_EQ(mode.Run(folders), RunRefusal::None);
    fs::remove_all(dir / "log");
    mode.HotDirFileReady(in("a.avi"));
    scheduler.advance(500ms);
    EXPECT_EQ(edit.starts, 1);
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems[0].find("log"), std::string::npos) << problems[0];
}

TEST(TStringValuesTable, PairsAndBounds)
{
    TStringValues t;
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.NameAt(0), "");
    t.Add("a", "");
    t.Add("a", "1");
    EXPECT_EQ(t.Count(), 2);
    EXPECT_EQ(t.NameAt(1), "a");
    EXPECT_EQ(t.ValueAt(1), "1");
    t.SetValueAt(0, "2");
    t.SetValueAt(2, "x");  // outside: ignored
    EXPECT_EQ(t.ValueAt(0), "2");
    EXPECT_EQ(t.NameAt(2), "");
    EXPECT_EQ(t.ValueAt(-1), "");
    t.Clear();
    EXPECT_EQ(t.Count(), 0);
}

// The batch run through the real window and the real engine: Convert with a chosen folder, the
// rows' pictures, the memo lines in order, the running state of buttons and menus, Stop in the
// middle of a run, rows added during a run, and closing the window while a job runs.
#include "QtEnvironment.h"
#include "RunFixture.h"

#include "app/Pictures.h"
#include "settings/cdSettings.h"

#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

class FormBatch : public test::RunFixture {
public:
    void SetUp() override {
        RunFixture::SetUp();
        for (int i : {15, 16, 17}) lang::StringTable[i] = "entry " + std::to_string(i);
        open();
        trigger("actNext");  // the Convert page
        out = folder("out");
    }
    void add(const QStringList& files) {
        script->chooseFiles(files);
        trigger("actadd");
        settleSizes();
    }
    void convert() {
        script->chooseFolder(QString::fromStdString(out.string()));
        trigger("actConvert");
    }
    std::vector<int> pictures() {
        std::vector<int> p;
        for (int i = 0; i < list().rowCount(); ++i) p.push_back(list().picture(i));
        return p;
    }
    bool idle() { return !form->batchRunning() && !form->videoEdit().IsRunning(); }
    // Whether the memo matches the patterns line by line (the time in brackets is any text).
    void expectMemo(const std::vector<QString>& patterns) {
        const QStringList lines = memoLines();
        ASSERT_EQ(lines.size(), static_cast<qsizetype>(patterns.size())) << lines.join('|').toStdString();
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            const QRegularExpression re(QRegularExpression::anchoredPattern(patterns[i]));
            EXPECT_TRUE(re.match(lines[static_cast<qsizetype>(i)]).hasMatch())
                << "line " << i << ": '" << lines[static_cast<qsizetype>(i)].toStdString() << "' against "
                << patterns[i].toStdString();
        }
    }
    std::filesystem::path out;
};

const QString T = QStringLiteral(R"(\[[^\]]+\])");

TEST_F(FormBatch, ThreeFilesConvertInOrderWithTicksMemoLinesAndTheEndQuestion) {
    add({clip("a.avi"), clip("b.avi"), clip("c.avi")});
    script->answerYes(false);  // the end question: do not open the file manager
    convert();

    // The running state: Stop instead of Convert, the list and the pages locked, Add still on.
    EXPECT_FALSE(find("btnConvert")->isVisible());
    EXPECT_TRUE(find("btnStopConvert")->isVisible());
    EXPECT_TRUE(action("actStopConvert")->isEnabled());
    for (const char* off : {"actConvert", "actRemove", "actClear", "mniConvert", "mniHotDir", "mniSelectAll"})
        EXPECT_FALSE(action(off)->isEnabled()) << off;
    for (const char* off : {"lvFiles", "pgcConvert", "btnRemove", "btnClear", "btnHotdirectory"})
        EXPECT_FALSE(find(off)->isEnabled()) << off;
    EXPECT_TRUE(action("mniStopConvert")->isEnabled());
    EXPECT_TRUE(action("actadd")->isEnabled());
    EXPECT_FALSE(find<QMenu>("mniformat")->menuAction()->isEnabled());
    EXPECT_EQ(AppSettings->SavePath, out.string());

    ASSERT_TRUE(driveUntil([&] { return idle(); }));
    EXPECT_EQ(pictures(), (std::vector<int>{PicConverted, PicConverted, PicConverted}));
    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"a.mpeg", "b.mpeg", "c.mpeg"}));
    expectMemo({"Task begin",
                T + "Load: a\\.avi \\[Success\\]", T + "Convert to: a\\.mpeg \\[Success\\]",
                T + "Load: b\\.avi \\[Success\\]", T + "Convert to: b\\.mpeg \\[Success\\]",
                T + "Load: c\\.avi \\[Success\\]", T + "Convert to: c\\.mpeg \\[Success\\]",
                "Task End", ""});

    // Idle again, the progress gone, and the question asked once.
    EXPECT_TRUE(find("btnConvert")->isVisible());
    EXPECT_FALSE(find("btnStopConvert")->isVisible());
    for (const char* on : {"actConvert", "actRemove", "actClear", "mniConvert", "mniHotDir"})
        EXPECT_TRUE(action(on)->isEnabled()) << on;
    EXPECT_FALSE(action("mniStopConvert")->isEnabled());
    EXPECT_TRUE(find("lvFiles")->isEnabled());
    EXPECT_FALSE(form->progressBar().isVisible());
    EXPECT_TRUE(form->statusPanel(4).text().isEmpty());
    ASSERT_EQ(script->shown().size(), 3u);  // open, folder, question
    EXPECT_EQ(script->shown().back().kind, Dialogs::Kind::Question);
    EXPECT_EQ(script->shown().back().text, "entry 17");
    EXPECT_EQ(script->unanswered(), 0);
}

TEST_F(FormBatch, AFailingMiddleFileGetsTheCrossAndItsErrorLineAndTheRunGoesOn) {
    const QString broken = file("b.avi", 4096);  // no AVI at all
    add({clip("a.avi"), broken, clip("c.avi")});
    trigger("mniFormatMP4");  // the run's format is the page shown
    script->answerYes(false);
    convert();
    ASSERT_TRUE(driveUntil([&] { return idle(); }));

    EXPECT_EQ(pictures(), (std::vector<int>{PicConverted, PicFailed, PicConverted}));
    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"a.mp4", "c.mp4"}));
    expectMemo({"Task begin",
                T + "Load: a\\.avi \\[Success\\]", T + "Convert to: a\\.mp4 \\[Success\\]",
                T + "Load: b\\.avi \\[Success\\]", "\\[Error message\\]: .+",
                T + "Load: c\\.avi \\[Success\\]", T + "Convert to: c\\.mp4 \\[Success\\]",
                "Task End", ""});
}

TEST_F(FormBatch, StopDuringTheSecondRowLeavesItWaitingTheThirdUntouchedAndNoOutput) {
    // The second clip is long enough that Stop, pressed as it starts, lands inside it.
    add({clip("a.avi"), clip("b.avi", 30, 320, 240), clip("c.avi")});
    convert();
    ASSERT_TRUE(driveUntil([&] { return list().taken(1) && form->videoEdit().IsRunning(); }));

    // A row added during the run joins it, and the run's commands stay off.
    add({clip("d.avi")});
    ASSERT_EQ(list().rowCount(), 4);
    for (const char* off : {"actConvert", "actRemove", "actClear", "mniConvert", "mniRemove", "mniClear"})
        EXPECT_FALSE(action(off)->isEnabled()) << off;

    trigger("actStopConvert");
    EXPECT_TRUE(find("btnConvert")->isVisible());
    ASSERT_TRUE(driveUntil([&] { return idle(); }));
    scheduler.advance(std::chrono::seconds(5));  // the timer is off: nothing else starts

    EXPECT_EQ(pictures(), (std::vector<int>{PicConverted, PicWaiting, PicWaiting, PicWaiting}));
    EXPECT_FALSE(list().taken(2));
    EXPECT_FALSE(list().taken(3));
    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"a.mpeg"}));  // no b.mpeg, no partial file
    expectMemo({"Task begin",
                T + "Load: a\\.avi \\[Success\\]", T + "Convert to: a\\.mpeg \\[Success\\]",
                T + "Load: b\\.avi \\[Success\\]"});
    EXPECT_FALSE(form->progressBar().isVisible());

    // Convert again starts over from the top, with every mark cleared.
    convert();
    EXPECT_EQ(pictures(), (std::vector<int>{PicWaiting, PicWaiting, PicWaiting, PicWaiting}));
    EXPECT_TRUE(form->batchRunning());
    trigger("actStopConvert");
    ASSERT_TRUE(driveUntil([&] { return idle(); }));
}

TEST_F(FormBatch, AListedFileDeletedBeforeConvertIsReportedAndNothingStarts) {
    const QString gone = clip("gone.avi");
    add({clip("a.avi"), gone});
    std::filesystem::remove(gone.toStdString());
    AppSettings->SavePath = "/previous";
    convert();

    ASSERT_EQ(script->shown().back().kind, Dialogs::Kind::Warning);
    EXPECT_EQ(script->shown().back().text, "entry 16");
    EXPECT_FALSE(form->batchRunning());
    EXPECT_TRUE(find("btnConvert")->isVisible());
    EXPECT_TRUE(action("actConvert")->isEnabled());
    EXPECT_EQ(AppSettings->SavePath, "/previous");
    scheduler.advance(std::chrono::seconds(2));
    EXPECT_FALSE(form->videoEdit().IsRunning());
    EXPECT_TRUE(filesIn(out).empty());
}

TEST_F(FormBatch, CancellingTheFolderChoiceStartsNothing) {
    add({clip("a.avi")});
    script->chooseFolder(std::nullopt);
    trigger("actConvert");
    EXPECT_FALSE(form->batchRunning());
    EXPECT_TRUE(find("btnConvert")->isVisible());
    EXPECT_TRUE(memoLines().join("").isEmpty());
}

TEST_F(FormBatch, ClosingTheWindowDuringAJobStopsItAndLeavesNoOutput) {
    add({clip("long.avi", 30, 320, 240)});
    convert();
    ASSERT_TRUE(driveUntil([&] { return form->videoEdit().IsRunning(); }));
    form->close();
    form.reset();  // waits for the stopped job; a late event must not reach the freed window
    scheduler.runPosted();
    EXPECT_TRUE(filesIn(out).empty());
}

} // namespace
} // namespace pellucor::app

// The Hot Directory page through the real window: Run's refusals with their messages and focus,
// the running state of the page and menus, a real file copied into a watched sub-folder and
// converted into the mirrored output tree with its four log lines, End, the Browse warnings, and
// a vanished log folder reported once.
#include "QtEnvironment.h"
#include "RunFixture.h"

#include "app/Pictures.h"
#include "conversion/ConversionLog.h"
#include "hotdir/HotDirMode.h"
#include "hotdir/uHotDir.h"
#include "settings/cdSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

class FormHotDir : public test::RunFixture {
public:
    void SetUp() override {
        RunFixture::SetUp();
        for (int i = 18; i <= 24; ++i) lang::StringTable[i] = "entry " + std::to_string(i);
        open();
        find<QRadioButton>("rbrdohotdir")->setChecked(true);
        trigger("actNext");
        in = folder("in");
        out = folder("out");
        logs = folder("logs");
    }
    void setFolders(const std::filesystem::path& i, const std::filesystem::path& o, const std::filesystem::path& l,
                    bool subdir = false) {
        find<QLineEdit>("edtindir")->setText(QString::fromStdString(i.string()));
        find<QLineEdit>("edtoutdir")->setText(QString::fromStdString(o.string()));
        find<QLineEdit>("edtlog")->setText(QString::fromStdString(l.string()));
        find<QCheckBox>("chksubdir")->setChecked(subdir);
    }
    void run() { find<QToolButton>("btnsbtrun")->click(); }
    void end() { find<QToolButton>("btnsbtend")->click(); }
    bool watching() { return form->hotDirMode().Running(); }
    std::vector<std::string> logLines() {
        std::ifstream file(conversion::LogFilePath(logs.string(), std::time(nullptr)));
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    // The page's controls and menus while watching, or idle: Run against End and minimise, the
    // folders and the format locked, the Open Dir buttons always usable.
    void expectPageState(bool running) {
        EXPECT_EQ(find("btnsbtrun")->isEnabled(), !running);
        for (const char* name : {"btnsbtend", "btnmin"}) EXPECT_EQ(find(name)->isEnabled(), running) << name;
        for (const char* name : {"edtindir", "edtoutdir", "edtlog", "chksubdir", "btnselectlogfile", "btnsbtreturn",
                                 "pgcConvert", "btnselectindir", "btnselectoutdir"})
            EXPECT_EQ(find(name)->isEnabled(), !running) << name;
        for (const char* name : {"btnopeninputdir", "btnopenoutputdir", "btnviewlog"})
            EXPECT_TRUE(find(name)->isEnabled()) << name;
        EXPECT_EQ(find<QMenu>("mniformat")->menuAction()->isEnabled(), !running);
        EXPECT_EQ(action("mniReturntoBatchMode")->isEnabled(), !running);
    }
    std::filesystem::path in, out, logs;
};

TEST_F(FormHotDir, RunRefusesMissingFoldersAndAnOutputInsideTheInput) {
    struct Case {
        const char* name;
        std::filesystem::path in, out, log;
        const char* message;
        const char* focused;
    };
    const Case cases[] = {
        {"missing input", dir / "nowhere", out, logs, "entry 22", "edtindir"},
        {"missing output", in, dir / "nowhere", logs, "entry 23", "edtoutdir"},
        {"missing log", in, out, dir / "nowhere", "entry 24", "edtlog"},
        {"output is the input", in, in, logs, "entry 19", "edtindir"},
        {"output inside the input", in, folder("in/converted"), logs, "entry 19", "edtindir"},
    };
    QApplication::setActiveWindow(form.get());
    for (const Case& c : cases) {
        script->clearShown();
        find<QLineEdit>("edtlog")->setFocus();
        if (std::string(c.focused) == "edtlog") find<QLineEdit>("edtindir")->setFocus();
        setFolders(c.in, c.out, c.log);
        run();
        ASSERT_EQ(script->shown().size(), 1u) << c.name;
        EXPECT_EQ(script->shown()[0].kind, Dialogs::Kind::Information) << c.name;
        EXPECT_EQ(script->shown()[0].text, c.message) << c.name;
        EXPECT_EQ(QApplication::focusWidget(), find(c.focused)) << c.name;
        EXPECT_FALSE(watching()) << c.name;
        EXPECT_TRUE(find("btnsbtrun")->isEnabled()) << c.name;
        EXPECT_TRUE(AppSettings->Indir.empty()) << c.name << ": nothing stored";
    }
}

TEST_F(FormHotDir, ACopiedFileIsConvertedIntoTheMirroredTreeAndLogged) {
    setFolders(in, out, logs, true);
    run();
    ASSERT_TRUE(watching());
    EXPECT_TRUE(script->shown().empty());

    // Running: the folders and the format are locked, End and minimise on.
    expectPageState(true);
    // Run stored the folders and saved them.
    EXPECT_EQ(AppSettings->Indir, in.string());
    EXPECT_EQ(AppSettings->LogDir, logs.string());
    EXPECT_TRUE(AppSettings->SubDir);

    // A clip made elsewhere and moved into a new sub-folder, as a copy finishes.
    const std::string made = clip("made.avi").toStdString();
    std::filesystem::create_directories(in / "Day1");
    std::filesystem::rename(made, in / "Day1" / "clip.avi");
    ASSERT_TRUE(driveUntil([&] { return logLines().size() >= 4 && !form->hotDirMode().Busy(); }));

    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"Day1/clip.mpeg"}));
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("Start: [", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "Load: " + (in / "Day1" / "clip.avi").string() + " [Success]");
    EXPECT_EQ(lines[2], "Save to: " + (out / "Day1" / "clip.mpeg").string() + " [Success]");
    EXPECT_EQ(lines[3].rfind("Finish: [", 0), 0u) << lines[3];

    end();
    EXPECT_FALSE(watching());
    EXPECT_FALSE(form->monitor().Running());
    expectPageState(false);
    EXPECT_EQ(form->hotDirMode().ProcessedFiles().Count(), 0);
}

TEST_F(FormHotDir, BrowseWarnsOfNestedFoldersAndKeepsTheEditsApart) {
    const auto nested = folder("in/sub");
    setFolders("", nested, logs);

    // Input chosen around the output: warned, taken all the same.
    script->chooseFolder(QString::fromStdString(in.string()));
    trigger("actSelIndir");
    ASSERT_EQ(script->shown().size(), 2u);
    EXPECT_EQ(script->shown()[0].title, "entry 18");
    EXPECT_EQ(script->shown()[1].kind, Dialogs::Kind::Warning);
    EXPECT_EQ(script->shown()[1].text, "entry 19");
    EXPECT_EQ(find<QLineEdit>("edtindir")->text().toStdString(), in.string());

    // Output chosen at the input itself: warned, and the edit keeps its text.
    script->clearShown();
    script->chooseFolder(QString::fromStdString(in.string()));
    trigger("actSelOutdir");
    ASSERT_EQ(script->shown().size(), 2u);
    EXPECT_EQ(script->shown()[0].title, "entry 20");
    EXPECT_EQ(script->shown()[1].text, "entry 21");
    EXPECT_EQ(find<QLineEdit>("edtoutdir")->text().toStdString(), nested.string());

    // An unrelated output: no warning. A folder beside the input sharing its name's start is
    // not inside it.
    script->clearShown();
    const auto beside = folder("in-converted");
    script->chooseFolder(QString::fromStdString(beside.string()));
    trigger("actSelOutdir");
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(find<QLineEdit>("edtoutdir")->text().toStdString(), beside.string());

    script->clearShown();
    script->chooseFolder(QString::fromStdString(out.string()));
    trigger("actSelLogdir");
    EXPECT_EQ(script->shown()[0].title, "log path");
    EXPECT_EQ(find<QLineEdit>("edtlog")->text().toStdString(), out.string());
}

TEST_F(FormHotDir, AVanishedLogFolderIsReportedOnceAndConversionsGoOn) {
    setFolders(in, out, logs);
    run();
    ASSERT_TRUE(watching());
    std::filesystem::remove_all(logs);

    for (const char* name : {"one.avi", "two.avi"}) {
        const std::string made = clip(std::string("made-") + name).toStdString();
        std::filesystem::rename(made, in / name);
    }
    ASSERT_TRUE(driveUntil([&] { return filesIn(out).size() == 2 && !form->hotDirMode().Busy(); }));
    QCoreApplication::processEvents();  // the report is shown once the mode's call has returned

    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"one.mpeg", "two.mpeg"}));
    int critical = 0;
    for (const auto& shown : script->shown())
        if (shown.kind == Dialogs::Kind::Critical) {
            ++critical;
            EXPECT_NE(shown.text.indexOf(QString::fromStdString(logs.string())), -1) << shown.text.toStdString();
        }
    EXPECT_EQ(critical, 1);
    end();
}

TEST_F(FormHotDir, AJobEndedByEndStaysTheModesEvenAfterReturningToBatchMode) {
    // A converted row on the batch page, which the aborted job's late stop must not touch.
    list().AddFileItem(clip("done.avi"));
    list().setPicture(0, PicConverted);
    setFolders(in, out, logs);
    run();
    const std::string made = clip("made-long.avi", 30, 320, 240).toStdString();
    std::filesystem::rename(made, in / "long.avi");
    ASSERT_TRUE(driveUntil([&] { return form->videoEdit().IsRunning(); }));

    end();
    trigger("actReturnmode");  // before the component reports the end of the stopped job
    ASSERT_EQ(form->mode(), TfrmPellucor::ModeBatch);
    ASSERT_TRUE(driveUntil([&] { return !form->videoEdit().IsRunning(); }));

    EXPECT_EQ(list().picture(0), PicConverted);
    EXPECT_TRUE(memoLines().join("").isEmpty());
    EXPECT_FALSE(form->hotDirMode().Busy());
    EXPECT_TRUE(filesIn(out).empty()) << "the stopped job's output is gone";
}

} // namespace
} // namespace pellucor::app

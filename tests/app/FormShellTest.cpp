// The main window as a wizard: its start state, the design texts, navigation between the pages
// with the menu states of each mode, the format pages, the tray and closing.
#include "FormFixture.h"
#include "app/AboutBox.h"
#include "QtEnvironment.h"

#include "app/MenuStates.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QRegularExpression>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

using FormShell = test::FormFixture;

TEST_F(FormShell, StartsOnTheModePageWithTheOperationsPanelHidden) {
    TfrmPellucor& f = open();
    EXPECT_EQ(f.mode(), TfrmPellucor::ModePage);
    EXPECT_EQ(find<QStackedWidget>("pageConvert")->currentWidget(), find("tsMode"));
    EXPECT_FALSE(find("pnloperate")->isVisible());
    EXPECT_EQ(f.windowTitle(), "Tamrix free Pellucor");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Tamrix free Pellucor");
    EXPECT_TRUE(find<QAbstractButton>("rbtbatch")->isChecked());
    EXPECT_FALSE(find("btnStopConvert")->isVisibleTo(&f));
    EXPECT_TRUE(find<QPlainTextEdit>("mmolog")->toPlainText().isEmpty());
    EXPECT_TRUE(find<QPlainTextEdit>("mmolog")->isReadOnly());
    // The list toolbar shows pictures only, and keeps its hints.
    for (const char* name : {"btnAdd", "btnAddFolder", "btnRemove", "btnClear"}) {
        EXPECT_TRUE(find<QAbstractButton>(name)->text().isEmpty()) << name;
        EXPECT_FALSE(find<QAbstractButton>(name)->toolTip().isEmpty()) << name;
        EXPECT_FALSE(find<QAbstractButton>(name)->icon().isNull()) << name;
    }
}

TEST_F(FormShell, TheClientAreaKeepsItsDesignSizeWhereTheContentFits) {
    TfrmPellucor& f = open();
    const int menu = f.menuBar()->height();
    for (const char* step : {"start", "actNext"}) {
        if (std::string(step) == "actNext") trigger("actNext");
        EXPECT_GE(f.width(), 838) << step;
        EXPECT_GE(f.height() - menu, 532) << step;
        EXPECT_EQ(f.minimumSize(), f.maximumSize()) << step << ": fixed size";
        EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) << step;
        EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowMaximizeButtonHint)) << step;
        EXPECT_TRUE(f.minimumSizeHint().width() <= f.width() && f.minimumSizeHint().height() <= f.height())
            << step << ": nothing clips";
    }
}

TEST_F(FormShell, StatusBarHasFivePanelsAndAHiddenProgressBarOverTheThird) {
    TfrmPellucor& f = open();
    const int widths[] = {200, 200, 200, 10};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f.statusPanel(i).width(), widths[i]) << "panel " << i;
    QProgressBar* bar = find<QProgressBar>("FProgressBar");
    EXPECT_EQ(bar, &f.progressBar());
    EXPECT_EQ(bar->parentWidget(), &f.statusPanel(2));
    EXPECT_FALSE(bar->isVisibleTo(&f));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_TRUE(find<QStatusBar>("stat1")->isAncestorOf(bar));
}

// Texts of the design, looked up by component name as a language file would.
TEST_F(FormShell, CaptionsAndHintsAreThoseOfTheDesign) {
    open();
    const struct {
        const char* name;
        const char* text;
    } texts[] = {
        {"rbtbatch", "&Batch Convert Mode"},
        {"rbrdohotdir", "&Hot Directories Mode"},
        {"lblbatch", "Batch convert AVI files into another format"},
        {"lblhotdir", "Monitor a directory in a server, when someone copies a avi files to the directory, the "
                      "files will be converted to another format and sent to a destination folder automatically"},
        {"lblmodehint", "Please select a mode and click 'Next >' to begin. or 'Exit' to exit wizard."},
        {"btnNext", "&Next"}, {"btn1", "&About"}, {"btnexit", "&Exit"},
        {"btnAbout", "A&bout"}, {"btnHelp", "&Help"},
        {"lblempty", "The list is empty. Please add some AVI file to begin ..."}, {"lblExample", "Example"},
        {"btnConvert", "Convert"}, {"btnStopConvert", "Stop Converter"},
        {"btnHotdirectory", "Hot Directories &Mode"}, {"btnsbtreturn", "Ret&urn to Batch Mode"},
        {"lblmpegprofile", "MPEG Profile:"}, {"lblmp4profile", "MP4 Profile:"}, {"lblwmvprofile", "WMV Profile:"},
        {"lblflvprofile", "FLV Profile:"}, {"lblmovprofile", "MOV Profile:"}, {"lblmp3profile", "MP3 Profile:"},
        {"btnmpegedit", "Edit..."}, {"btnmp3edit", "Edit..."},
        {"lbl2", "&Input Directory:"}, {"lbl4", "&Out Directory:"}, {"lbl3", "&Log File Path:"},
        {"chksubdir", "Include Sub-Director&y"},
        {"btnselectindir", "Bro&wse.."}, {"btnopeninputdir", "O&pen Dir"}, {"btnselectoutdir", "Brows&e.."},
        {"btnopenoutputdir", "Ope&n Dir"}, {"btnselectlogfile", "Browse&.."}, {"btnviewlog", "Open &Dir"},
    };
    for (const auto& t : texts) {
        QObject* o = find<QObject>(t.name);
        if (!o) continue;
        const QString text = o->property("text").toString();
        EXPECT_EQ(text.toStdString(), t.text) << t.name;
    }
    const char* tabs[] = {"TO MPEG", "TO MP4", "TO WMV", "TO FLV", "TO MOV", "TO MP3"};
    auto* pgc = find<QTabWidget>("pgcConvert");
    ASSERT_EQ(pgc->count(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pgc->tabText(i).toStdString(), tabs[i]) << "page " << i;
    EXPECT_EQ(find<QWidget>("grp1")->property("title").toString(), "Hot Directory Setting");
    const char* columns[] = {"Name", "Imformation", "Size", "Full Name"};
    auto* lv = find<QTreeWidget>("lvFiles");
    for (int c = 0; c < 4; ++c) EXPECT_EQ(lv->headerItem()->text(c).toStdString(), columns[c]) << "column " << c;
    EXPECT_TRUE(lv->isColumnHidden(4)) << "the taken mark has no column";
    const struct {
        const char* name;
        const char* text;
    } entries[] = {
        {"mniAdd", "A&dd"}, {"mniAddFolder", "Add &Folder"}, {"mniSelectAll", "Select All"},
        {"mniRemove", "&Remove"}, {"mniClear", "&Clear"}, {"mniExit", "&Exit"},
        {"mniConvert", "Convert"}, {"mniStopConvert", "Stop Converter"},
        {"mniHotDir", "Hot Directories &Mode"}, {"mniReturntoBatchMode", "T&urn to Batch Mode"},
        {"mniShow", "&Show"}, {"mniTrayAbout", "&About"}, {"mniClose", "&Close"},
        {"mniPopSelectAll", "Select &All"}, {"mniPopRemoveFailed", "R&emove Failed Items"},
        {"mniPopRemoveSucceeded", "Re&move Succeeded Items"}, {"mniPopOpen", "&Open"},
        {"mniPopOpenFolder", "&Open Folder"}, {"mniPopProperties", "Properties"},
    };
    for (const auto& e : entries) EXPECT_EQ(action(e.name)->text().toStdString(), e.text) << e.name;
    EXPECT_EQ(action("mniSelectAll")->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(action("mniRemove")->shortcut(), QKeySequence(QKeySequence::Delete));
    EXPECT_EQ(find<QMenu>("mniformat")->actions().size(), 6);
}

// The state of the File and Action menus, compared with the table for the mode.
void ExpectMenus(const test::FormFixture& t, int mode, bool hasRows, const std::string& where) {
    const MenuStates s = MenuStatesFor(mode, hasRows);
    const struct {
        const char* entry;
        bool expected;
        bool actual;
    } rows[] = {
        {"mniAdd", s.add, t.action("mniAdd")->isEnabled()},
        {"mniAddFolder", s.addFolder, t.action("mniAddFolder")->isEnabled()},
        {"mniSelectAll", s.selectAll, t.action("mniSelectAll")->isEnabled()},
        {"mniRemove", s.remove, t.action("mniRemove")->isEnabled()},
        {"mniClear", s.clear, t.action("mniClear")->isEnabled()},
        {"mniformat", s.format, t.find<QMenu>("mniformat")->menuAction()->isEnabled()},
        {"mniConvert", s.convert, t.action("mniConvert")->isEnabled()},
        {"mniStopConvert", s.stopConvert, t.action("mniStopConvert")->isEnabled()},
        {"mniHotDir", s.hotDir, t.action("mniHotDir")->isEnabled()},
        {"mniReturntoBatchMode", s.returnMode, t.action("mniReturntoBatchMode")->isEnabled()},
    };
    for (const auto& r : rows) EXPECT_EQ(r.actual, r.expected) << r.entry << " after " << where;
}

TEST_F(FormShell, NavigationShowsThePagesAndPanelsOfEachModeWithItsMenus) {
    TfrmPellucor& f = open();
    ExpectMenus(*this, 0, false, "start");
    auto* pages = find<QStackedWidget>("pageConvert");
    const struct {
        const char* step;
        const char* action;  // an action, or a menu entry bound to one
        int mode;
        const char* page;
    } steps[] = {
        {"Next with batch checked", "actNext", 1, "tsConvert"},
        {"Hot Directories Mode from the menu", "mniHotDir", 2, "tsHotDirectory"},
        {"Turn to Batch Mode from the menu", "mniReturntoBatchMode", 1, "tsConvert"},
        {"Hot Directories Mode button", "actHotDir", 2, "tsHotDirectory"},
        {"Return to Batch Mode button", "actReturnmode", 1, "tsConvert"},
    };
    for (const auto& s : steps) {
        trigger(s.action);
        EXPECT_EQ(f.mode(), s.mode) << s.step;
        EXPECT_EQ(pages->currentWidget(), find(s.page)) << s.step;
        EXPECT_TRUE(find("pnloperate")->isVisible()) << s.step;
        const bool batch = s.mode == 1;
        EXPECT_EQ(find("Panel1")->isVisible(), batch) << s.step;
        EXPECT_EQ(find("pnllog")->isVisible(), batch) << s.step;
        EXPECT_EQ(find("mmolog")->isVisible(), batch) << s.step;
        for (const char* b : {"btnsbtrun", "btnsbtend", "btnsbtreturn", "btnmin"})
            EXPECT_EQ(find(b)->isVisible(), !batch) << s.step << ": " << b;
        EXPECT_TRUE(find("btnConvert")->isVisible() == batch) << s.step;
        EXPECT_FALSE(find("btnStopConvert")->isVisible()) << s.step;
        EXPECT_NE(pages->currentWidget(), find("tsMode")) << s.step << ": no way back to the Mode page";
        ExpectMenus(*this, s.mode, false, s.step);
    }
}

TEST_F(FormShell, NextWithHotDirectoriesCheckedOpensTheHotDirectoryPage) {
    TfrmPellucor& f = open();
    find<QAbstractButton>("rbrdohotdir")->click();
    trigger("actNext");
    EXPECT_EQ(f.mode(), TfrmPellucor::ModeHotDirectory);
    EXPECT_EQ(find<QStackedWidget>("pageConvert")->currentWidget(), find("tsHotDirectory"));
    EXPECT_TRUE(find("btnsbtrun")->isEnabled());
    EXPECT_FALSE(find("btnsbtend")->isEnabled());
    EXPECT_FALSE(find("btnmin")->isEnabled());
    ExpectMenus(*this, 2, false, "Next with hot directories checked");
}

TEST_F(FormShell, ShowingTheWindowAgainKeepsThePageOfTheMode) {
    TfrmPellucor& f = open();
    trigger("actHotDir");
    f.hide();
    f.show();  // FormShow again, as after a return from the tray
    EXPECT_EQ(find<QStackedWidget>("pageConvert")->currentWidget(), find("tsHotDirectory"));
}

TEST_F(FormShell, FormatPagesAndTheFormatMenuSetTheCurrentFormat) {
    AppSettings->PageIndex = 4;
    TfrmPellucor& f = open();
    auto* pgc = find<QTabWidget>("pgcConvert");
    EXPECT_EQ(f.formatPage(), 4) << "taken from PageIndex at creation";
    EXPECT_EQ(pgc->currentIndex(), 4) << "shown by FormShow";
    trigger("actNext");
    pgc->tabBar()->setCurrentIndex(2);  // as the user's click does
    EXPECT_EQ(f.formatPage(), 2);
    EXPECT_EQ(AppSettings->PageIndex, 2);
    const char* entries[] = {"mniFormatMPEG", "mniFormatMP4", "mniFormatWMV", "mniFormatFLV", "mniFormatMOV", "mniFormatMP3"};
    for (int i = 5; i >= 0; --i) {
        trigger(entries[i]);
        EXPECT_EQ(pgc->currentIndex(), i) << entries[i];
        EXPECT_EQ(f.formatPage(), i) << entries[i];
        EXPECT_EQ(AppSettings->PageIndex, i) << entries[i];
    }
}

TEST_F(FormShell, MinimisingGoesToTheTrayAndALeftClickBringsTheWindowBack) {
    TfrmPellucor& f = open();
    f.setTrayAvailable(true);
    trigger("actHotDir");
    for (const char* how : {"btnmin", "the window's own minimise"}) {
        if (std::string(how) == "btnmin") {
            f.MinimizeToTray();
        } else {
            f.setWindowState(Qt::WindowMinimized);
            QCoreApplication::processEvents();  // the hiding follows the state change
        }
        EXPECT_FALSE(f.isVisible()) << how;
        ASSERT_EQ(f.findChildren<QSystemTrayIcon*>().size(), 1) << how << ": exactly one icon";
        QSystemTrayIcon* icon = f.findChild<QSystemTrayIcon*>();
        EXPECT_EQ(icon->toolTip(), "Tamrix free Pellucor");
        EXPECT_EQ(icon->contextMenu(), find<QMenu>("pmTray"));
        f.MinimizeToTray();  // minimising again adds no second icon
        EXPECT_EQ(f.findChildren<QSystemTrayIcon*>().size(), 1) << how;

        emit icon->activated(QSystemTrayIcon::Context);  // the right button only opens pmTray
        EXPECT_FALSE(f.isVisible()) << how;
        emit icon->activated(QSystemTrayIcon::Trigger);  // a left click
        EXPECT_TRUE(f.isVisible()) << how;
        EXPECT_FALSE(f.isMinimized()) << how;
        EXPECT_FALSE(f.trayIconShown()) << how;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(f.findChildren<QSystemTrayIcon*>().isEmpty()) << how << ": the icon is gone";
        EXPECT_EQ(find<QStackedWidget>("pageConvert")->currentWidget(), find("tsHotDirectory")) << how;
    }
}

TEST_F(FormShell, WithoutATrayMinimisingLeavesTheWindowOnTheTaskbar) {
    TfrmPellucor& f = open();
    f.MinimizeToTray();
    EXPECT_FALSE(f.trayIconShown());
    EXPECT_TRUE(f.isVisible()) << "a hidden window without a tray icon could never come back";
}

TEST_F(FormShell, TheTrayMenuShowsAndCloses) {
    TfrmPellucor& f = open();
    f.setTrayAvailable(true);
    auto* pmTray = find<QMenu>("pmTray");
    QStringList entries;
    for (QAction* a : pmTray->actions()) entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(entries, (QStringList{"&Show", "-", "&About", "-", "&Close"}));

    f.MinimizeToTray();
    trigger("mniShow");
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.trayIconShown());

    QSignalSpy closed(&f, &TfrmPellucor::formClosed);
    f.MinimizeToTray();
    trigger("mniClose");
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(f.trayIconShown());
}

TEST_F(FormShell, ExitEndsTheProgramFromTheModePageAndTheFileMenu) {
    for (const char* how : {"btnexit", "mniExit"}) {
        TfrmPellucor& f = open();
        QSignalSpy closed(&f, &TfrmPellucor::formClosed);
        if (std::string(how) == "btnexit") find<QAbstractButton>(how)->click();
        else trigger(how);
        EXPECT_EQ(closed.count(), 1) << how;
        EXPECT_FALSE(f.isVisible()) << how;
    }
}

TEST_F(FormShell, AboutAndHelpOpenOurOwnWindows) {
    TfrmPellucor& f = open();
    find<QAbstractButton>("btn1")->click();
    auto* about = f.findChild<QWidget*>(QStringLiteral("AboutBox"));
    ASSERT_NE(about, nullptr);
    const QString text = about->findChild<QLabel*>(QStringLiteral("lblAbout"))->text();
    EXPECT_TRUE(text.contains(QStringLiteral(PELLUCOR_VERSION))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromLatin1(qVersion()))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Licen"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("FFmpeg \\d+\\.\\d+.*libavcodec \\d+\\.\\d+"))))
        << text.toStdString();
    trigger("mniAbout");
    EXPECT_EQ(f.findChildren<QWidget*>(QStringLiteral("AboutBox")).size(), 1) << "one About box at a time";

    trigger("mniHelpTopics");
    auto* help = f.findChild<QWidget*>(QStringLiteral("HelpBox"));
    ASSERT_NE(help, nullptr);
    QFile readme(QStringLiteral(PELLUCOR_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString firstLine = QString::fromUtf8(readme.readLine()).remove(QLatin1Char('#')).trimmed();
    EXPECT_TRUE(help->findChild<QTextEdit*>()->toPlainText().contains(firstLine));
    // The README's screenshots are not inside the program: no broken pictures in the help.
    EXPECT_FALSE(AboutBox::helpText().contains(QStringLiteral("![")));
    EXPECT_TRUE(AboutBox::helpText().contains(QStringLiteral("pellucor-cli")));
}

TEST_F(FormShell, ALanguageFileReachesTheWindowBeforeItsOwnCaptionIsSet) {
    std::ofstream(dir / "Test.lng") << "[frmPellucor]\nbtnNext.Caption=Weiter\nfrmPellucor.Caption=Fenster\n"
                                       "actadd.Caption=Hin&zu\nbtnAdd.Hint=Dateien\n";
    lang::LanguageFile = (dir / "Test.lng").string();
    TfrmPellucor& f = open();
    EXPECT_EQ(find<QAbstractButton>("btnNext")->text(), "Weiter");
    EXPECT_EQ(f.windowTitle(), "Tamrix free Pellucor") << "the form's own caption comes after the file";
    EXPECT_EQ(action("mniAdd")->text(), "Hin&zu") << "a menu entry follows its action";
    EXPECT_EQ(find<QAbstractButton>("btnAdd")->toolTip(), "Dateien");
}

} // namespace
} // namespace pellucor::app

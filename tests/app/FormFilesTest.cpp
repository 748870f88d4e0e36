// The file list as the window drives it: Add, Add Folder, drops on any page, Remove with its
// count question, Clear, removal of failed and succeeded rows, header sorting, the Example link
// and the actions that follow the list.
#include "FormFixture.h"
#include "OpenedUrls.h"
#include "QtEnvironment.h"

#include "app/Pictures.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QTest>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTreeWidget>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

class FormFiles : public test::FormFixture {
public:
    void SetUp() override {
        FormFixture::SetUp();
        open();
        trigger("actNext");  // the Convert page
    }
    // Drops urls on widget as a file manager would.
    void drop(QWidget* widget, const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &enter);
        QDropEvent dropEvent(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &dropEvent);
    }
    QUrl url(const QString& path) { return QUrl::fromLocalFile(path); }
    void select(std::initializer_list<int> rows) {
        find<QTreeWidget>("lvFiles")->clearSelection();
        for (int r : rows) list().item(r)->setSelected(true);
    }
    bool listActionsOn() {
        const bool on = action("actConvert")->isEnabled();
        for (const char* name : {"actRemove", "actClear", "actOpenFolder", "mniPopSelectAll", "mniPopRemoveFailed",
                                 "mniPopRemoveSucceeded", "mniPopProperties", "mniPopOpen"})
            EXPECT_EQ(action(name)->isEnabled(), on) << name << " disagrees with actConvert";
        EXPECT_EQ(find("pnlempty")->isVisible(), !on) << "the empty-list panel shows exactly when the list is empty";
        return on;
    }
};

TEST_F(FormFiles, AddTakesTheChosenAviFilesInOrderWithoutDuplicates) {
    EXPECT_FALSE(listActionsOn());
    const QString b = file("b.avi"), a = file("a.AVI"), m = file("movie.mpg");
    std::filesystem::create_directory(dir / "other");
    std::ofstream(dir / "other" / "B.avi") << "";
    script->chooseFiles({b, m, a, QString::fromStdString((dir / "other" / "B.avi").string())});
    trigger("actadd");
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(script->shown()[0].kind, Dialogs::Kind::OpenFiles);
    EXPECT_EQ(script->shown()[0].text, "AVI Files(*.avi)");
    EXPECT_EQ(captions(), (QStringList{"b.avi", "a.AVI"}));
    EXPECT_TRUE(listActionsOn());
    EXPECT_TRUE(action("mniSelectAll")->isEnabled());
    EXPECT_TRUE(action("mniConvert")->isEnabled());

    script->chooseFiles({b});  // the same file again
    trigger("mniAdd");
    EXPECT_EQ(captions(), (QStringList{"b.avi", "a.AVI"}));
}

TEST_F(FormFiles, CancellingAddLeavesTheEmptyPanelShowing) {
    trigger("actadd");  // no files queued: the dialog is cancelled
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_FALSE(listActionsOn());
}

TEST_F(FormFiles, AddFolderTakesTheFolderItselfButNoSubFolders) {
    std::filesystem::create_directories(dir / "in" / "sub");
    std::ofstream(dir / "in" / "clip.avi") << "";
    std::ofstream(dir / "in" / "notes.txt") << "";
    std::ofstream(dir / "in" / "sub" / "deep.avi") << "";
    script->chooseFolder(QString::fromStdString((dir / "in").string()));
    trigger("actAddFolder");
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(script->shown()[0].kind, Dialogs::Kind::Folder);
    EXPECT_EQ(script->shown()[0].title, "entry 12");
    EXPECT_EQ(captions(), QStringList{"clip.avi"});
    EXPECT_TRUE(listActionsOn());

    script->chooseFolder(std::nullopt);
    trigger("actAddFolder");
    EXPECT_EQ(captions(), QStringList{"clip.avi"});
}

TEST_F(FormFiles, DropsOnAnyPageAddOnlyExistingAviFiles) {
    const QString a = file("a.avi"), m = file("m.mpg");
    std::filesystem::create_directory(dir / "folder.avi");
    const QString folder = QString::fromStdString((dir / "folder.avi").string());
    drop(find<QTreeWidget>("lvFiles")->viewport(), {url(a), url(m), url(folder), url(a + "x")});
    EXPECT_EQ(captions(), QStringList{"a.avi"});
    EXPECT_TRUE(listActionsOn());

    // On the Hot Directory page, over an edit that would otherwise take text drops.
    trigger("actHotDir");
    drop(find("edtindir"), {url(file("b.avi")), url(a)});
    EXPECT_EQ(captions(), (QStringList{"a.avi", "b.avi"}));
    EXPECT_TRUE(find<QLineEdit>("edtindir")->text().isEmpty());
    EXPECT_FALSE(action("mniConvert")->isEnabled()) << "a drop does not switch on Convert outside batch mode";
    EXPECT_FALSE(action("mniRemove")->isEnabled());
}

TEST_F(FormFiles, RemoveAsksWithTheCountAndDeletesExactlyTheSelectedRows) {
    list().AddFileList({"/x/0.avi", "/x/1.avi", "/x/2.avi", "/x/3.avi"});
    form->UpdateListActions();
    select({0, 2, 3});
    script->answerYes(false);
    trigger("actRemove");
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(script->shown()[0].kind, Dialogs::Kind::Question);
    EXPECT_EQ(script->shown()[0].text, "entry 13 3 items");
    EXPECT_EQ(script->shown()[0].title, "Tamrix free Pellucor");
    EXPECT_EQ(list().rowCount(), 4) << "No deletes nothing";

    script->answerYes(true);
    trigger("mniRemove");
    EXPECT_EQ(captions(), QStringList{"1.avi"});

    find<QTreeWidget>("lvFiles")->clearSelection();
    script->clearShown();
    trigger("actRemove");
    EXPECT_TRUE(script->shown().empty()) << "nothing selected: no question";
    EXPECT_EQ(list().rowCount(), 1);
}

TEST_F(FormFiles, ClearAsksAndTakesTheSortPictureAwayEitherWay) {
    list().AddFileList({"/x/a.avi", "/x/b.avi"});
    form->UpdateListActions();
    find<QTreeWidget>("lvFiles")->header()->sectionClicked(0);
    ASSERT_EQ(list().headerPicture(0), PicSortDown);
    script->answerYes(false);
    trigger("actClear");
    EXPECT_EQ(script->shown().back().text, "entry 14");
    EXPECT_EQ(list().rowCount(), 2);
    EXPECT_EQ(list().headerPicture(0), -1);

    script->answerYes(true);
    trigger("mniClear");
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_FALSE(listActionsOn());
    EXPECT_EQ(script->unanswered(), 0);
}

TEST_F(FormFiles, RemoveFailedAndSucceededItemsWithoutAsking) {
    list().AddFileList({"/x/0.avi", "/x/1.avi", "/x/2.avi", "/x/3.avi", "/x/4.avi"});
    const int pictures[] = {PicConverted, PicFailed, PicWaiting, PicFailed, PicConverted};
    for (int i = 0; i < 5; ++i) list().setPicture(i, pictures[i]);
    form->UpdateListActions();
    trigger("mniPopRemoveFailed");
    EXPECT_EQ(captions(), (QStringList{"0.avi", "2.avi", "4.avi"}));
    trigger("mniPopRemoveFailed");
    EXPECT_EQ(captions(), (QStringList{"0.avi", "2.avi", "4.avi"})) << "no failed rows: no change";
    trigger("mniPopRemoveSucceeded");
    EXPECT_EQ(captions(), QStringList{"2.avi"});
    EXPECT_TRUE(script->shown().empty());
}

TEST_F(FormFiles, HeaderClicksSortBySizeNumerically) {
    list().AddFileList({file("big.avi", 1023 * 1024), file("nine.avi", 9 * 1024 - 1), file("ten.avi", 10 * 1024 - 1)});
    settleSizes();
    auto* header = find<QTreeWidget>("lvFiles")->header();
    header->sectionClicked(2);
    EXPECT_EQ(captions(), (QStringList{"nine.avi", "ten.avi", "big.avi"}));
    header->sectionClicked(2);
    EXPECT_EQ(captions(), (QStringList{"big.avi", "ten.avi", "nine.avi"}));
    EXPECT_EQ(list().headerPicture(2), PicSortUp);
}

TEST_F(FormFiles, SelectAllSelectsEveryRow) {
    list().AddFileList({"/x/a.avi", "/x/b.avi", "/x/c.avi"});
    form->UpdateListActions();
    form->UpdateMenuStates();
    trigger("mniSelectAll");
    EXPECT_EQ(list().selectedCount(), 3);
    find<QTreeWidget>("lvFiles")->clearSelection();
    trigger("mniPopSelectAll");
    EXPECT_EQ(list().selectedCount(), 3);
}

TEST_F(FormFiles, TheExampleLinkAddsTheSampleBesideTheProgram) {
    QMetaObject::invokeMethod(find("lblExample"), "clicked");
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(list().fullPath(0).toStdString(), platform::dataFilePath("Example.avi").string());
    EXPECT_EQ(list().caption(0), "Example.avi");
    EXPECT_TRUE(listActionsOn());
    EXPECT_TRUE(action("mniSelectAll")->isEnabled());
    QMetaObject::invokeMethod(find("lblExample"), "clicked");
    EXPECT_EQ(list().rowCount(), 1) << "a second click adds no duplicate";
}

TEST_F(FormFiles, PropertiesWithoutAFileManagerOpenOurOwnWindow) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");  // no file manager anywhere
    list().AddFileItem(file("clip.avi", 2048));
    form->UpdateListActions();
    select({0});
    trigger("mniPopProperties");
    QWidget* dialog = form->findChild<QWidget*>(QStringLiteral("PropertiesDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lblName"))->text(), "clip.avi");
    EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("lblSize"))->text().contains(QStringLiteral("2,048")) ||
                dialog->findChild<QLabel*>(QStringLiteral("lblSize"))->text().contains(QStringLiteral("2048")));
}

using test::OpenedUrls;

TEST_F(FormFiles, OpenAndOpenFolderUseTheFirstSelectedRow) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");  // no file manager anywhere
    OpenedUrls opened;
    const QString a = file("a.avi"), b = file("b.avi");
    list().AddFileList({a, b});
    form->UpdateListActions();
    select({1, 0});
    trigger("mniPopOpen");
    ASSERT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(a)});
    trigger("mniPopOpenFolder");  // no file manager answers: the folder opens
    QCoreApplication::processEvents();
    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_EQ(opened.urls[1], QUrl::fromLocalFile(QString::fromStdString(dir.path().string())));
    find<QTreeWidget>("lvFiles")->clearSelection();
    trigger("mniPopOpen");
    EXPECT_EQ(opened.urls.size(), 2) << "nothing selected: nothing opened";
}

TEST_F(FormFiles, AClickIntoTheListRefreshesWhatDependsOnIt) {
    list().AddFileList({"/x/a.avi"});  // rows that came without a refresh
    ASSERT_FALSE(action("actConvert")->isEnabled());
    QTest::mouseClick(find<QTreeWidget>("lvFiles")->viewport(), Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_TRUE(listActionsOn());
}

TEST_F(FormFiles, TheListsPopupMenuOpensOnRequest) {
    auto* lv = find<QTreeWidget>("lvFiles");
    emit lv->customContextMenuRequested(QPoint(10, 10));
    auto* pmFiles = find<QMenu>("pmFiles");
    EXPECT_TRUE(pmFiles->isVisible());
    QStringList entries;
    for (QAction* a : pmFiles->actions()) entries << a->objectName();
    EXPECT_TRUE(entries.contains("mniPopRemoveFailed") && entries.contains("mniPopProperties") &&
                entries.contains("mniPopOpenFolder"));
    pmFiles->hide();
}

} // namespace
} // namespace pellucor::app


// The input file list on a real QTreeWidget: rows, sizes read off the main thread and handed
// back through the scheduler, duplicates, sorting, removal by picture.
#include "app/InputFileList.h"

#include "app/FileListRules.h"
#include "app/Pictures.h"
#include "fixtures/TempDir.h"
#include "ManualScheduler.h"
#include "QtEnvironment.h"

#include <QTreeWidget>

#include <fstream>

#include <gtest/gtest.h>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

class InputFileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.setColumnCount(5);
        list = std::make_unique<InputFileList>(&view, scheduler);
    }

    QString file(const std::string& name, std::size_t bytes) {
        std::ofstream(dir / name, std::ios::binary) << std::string(bytes, 'v');
        return QString::fromStdString((dir / name).string());
    }
    // Lets the size reader finish and hands its results to the list.
    void settleSizes() {
        list->waitForSizeReader();
        scheduler.runPosted();
    }
    QStringList captions() const {
        QStringList out;
        for (int i = 0; i < list->rowCount(); ++i) out << list->caption(i);
        return out;
    }

    fixtures::TempDir dir;
    pellucor::test::ManualScheduler scheduler;
    QTreeWidget view;
    std::unique_ptr<InputFileList> list;
};

TEST_F(InputFileListTest, ARowHoldsNamePathWaitingPictureAndItsSizeOnceRead) {
    const QString path = file("clip.avi", 1536000);
    list->AddFileItem(path);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->caption(0), "clip.avi");
    EXPECT_EQ(list->fullPath(0), path);
    EXPECT_EQ(list->infoText(0), "");
    EXPECT_FALSE(list->taken(0));
    EXPECT_EQ(list->picture(0), PicWaiting);
    EXPECT_FALSE(view.topLevelItem(0)->icon(0).isNull());
    EXPECT_EQ(list->sizeText(0), "") << "the size arrives through the scheduler, not at once";
    settleSizes();
    EXPECT_EQ(DigitsValue(list->sizeText(0)), 1501);
}

TEST_F(InputFileListTest, EmptyPathsAddNothingAndMissingFilesShowOneKilobyte) {
    list->AddFileList({"", "   ", "/nowhere/gone.avi"});
    ASSERT_EQ(list->rowCount(), 1);
    settleSizes();
    EXPECT_EQ(list->sizeText(0), FormatSizeKB(0));
}

TEST_F(InputFileListTest, SizesOfThousandsOfRowsArriveInChunksAndAllLand) {
    QStringList paths;
    for (int i = 0; i < 3000; ++i) paths << file("f" + std::to_string(i) + ".avi", static_cast<std::size_t>(i % 7) * 1024);
    list->AddFileList(paths);
    EXPECT_EQ(list->rowCount(), 3000);
    list->waitForSizeReader();
    EXPECT_GT(scheduler.runPosted(), 1) << "results are handed over in several chunks";
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(list->sizeText(i), FormatSizeKB((i % 7) * 1024)) << "row " << i;
}

TEST_F(InputFileListTest, ResultsForRowsRemovedMeanwhileAreDropped) {
    list->AddFileList({file("a.avi", 10), file("b.avi", 5000)});
    list->waitForSizeReader();
    delete view.takeTopLevelItem(0);
    scheduler.runPosted();
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->sizeText(0), FormatSizeKB(5000));
}

TEST_F(InputFileListTest, ResultsPostedAfterTheListIsGoneDoNothing) {
    list->AddFileList({file("a.avi", 10)});
    list->waitForSizeReader();
    list.reset();
    EXPECT_EQ(scheduler.runPosted(), 1);  // runs, finds the list gone, touches nothing
}

TEST_F(InputFileListTest, DuplicateNamesKeepTheUpperRow) {
    const QString first = QStringLiteral("/a/clip.avi");
    list->AddFileList({first, "/b/other.avi", "/c/CLIP.avi", "/a/clip.avi", "/d/Other.AVI"});
    list->RemoveDuplicateNames();
    EXPECT_EQ(captions(), (QStringList{"clip.avi", "other.avi"}));
    EXPECT_EQ(list->fullPath(0), first);
}

TEST_F(InputFileListTest, HeaderClicksSortByTheColumnAndFlipTheDirection) {
    list->AddFileList({file("b.avi", 10 * 1024 - 1), file("c.avi", 1023 * 1024), file("a.avi", 9 * 1024 - 1)});
    settleSizes();  // 10 KB, 1,024 KB, 9 KB
    list->SortByColumn(InputFileList::ColSize);
    EXPECT_EQ(captions(), (QStringList{"a.avi", "b.avi", "c.avi"})) << "9 KB, 10 KB, 1,024 KB: numeric";
    EXPECT_EQ(list->headerPicture(InputFileList::ColSize), PicSortDown);
    EXPECT_TRUE(list->sortFlag());

    list->SortByColumn(InputFileList::ColSize);
    EXPECT_EQ(captions(), (QStringList{"c.avi", "b.avi", "a.avi"}));
    EXPECT_EQ(list->headerPicture(InputFileList::ColSize), PicSortUp);

    // One direction flag for all columns: the next column starts where the last one left off.
    list->SortByColumn(InputFileList::ColName);
    EXPECT_EQ(captions(), (QStringList{"a.avi", "b.avi", "c.avi"}));
    EXPECT_EQ(list->headerPicture(InputFileList::ColSize), -1);
    EXPECT_EQ(list->headerPicture(InputFileList::ColName), PicSortDown);
    EXPECT_EQ(list->sortColumn(), InputFileList::ColName);
}

TEST_F(InputFileListTest, SortingKeepsSelectionMarksAndPictures) {
    list->AddFileList({"/x/b.avi", "/x/a.avi", "/x/c.avi"});
    list->setPicture(0, PicConverted);
    list->setTaken(0, true);
    list->item(0)->setSelected(true);
    list->SortByColumn(InputFileList::ColName);
    ASSERT_EQ(captions(), (QStringList{"a.avi", "b.avi", "c.avi"}));
    EXPECT_EQ(list->picture(1), PicConverted);
    EXPECT_TRUE(list->taken(1));
    EXPECT_EQ(list->selectedCount(), 1);
    EXPECT_EQ(list->firstSelectedRow(), 1);
}

TEST_F(InputFileListTest, RemovingByPictureTakesExactlyThoseRows) {
    const struct {
        const char* name;
        std::vector<int> pictures;
        int removed;
        QStringList left;
    } cases[] = {
        {"failed among others", {PicWaiting, PicFailed, PicConverted, PicFailed}, PicFailed, {"0.avi", "2.avi"}},
        {"succeeded", {PicConverted, PicFailed, PicConverted}, PicConverted, {"1.avi"}},
        {"none to remove", {PicWaiting, PicConverted}, PicFailed, {"0.avi", "1.avi"}},
    };
    for (const auto& c : cases) {
        list->Clear();
        for (std::size_t i = 0; i < c.pictures.size(); ++i) list->AddFileItem(QStringLiteral("/x/%1.avi").arg(i));
        for (std::size_t i = 0; i < c.pictures.size(); ++i) list->setPicture(static_cast<int>(i), c.pictures[i]);
        list->RemoveRowsWithPicture(c.removed);
        EXPECT_EQ(captions(), c.left) << c.name;
    }
}

TEST_F(InputFileListTest, LargeRemovalsKeepTheRightRowsInOrderWithTheirSelection) {
    // Past a handful of rows the list removes in one pass; the outcome must be the same.
    QStringList paths;
    for (int i = 0; i < 60; ++i) paths << QStringLiteral("/x/%1.avi").arg(i);
    for (int i = 0; i < 40; ++i) paths << QStringLiteral("/y/%1.AVI").arg(i);  // 40 duplicates
    list->AddFileList(paths);
    list->item(5)->setSelected(true);
    list->item(70)->setSelected(true);  // a duplicate, going away
    list->RemoveDuplicateNames();
    ASSERT_EQ(list->rowCount(), 60);
    for (int i = 0; i < 60; ++i) ASSERT_EQ(list->caption(i), QStringLiteral("%1.avi").arg(i)) << "row " << i;
    EXPECT_EQ(list->selectedCount(), 1);
    EXPECT_EQ(list->firstSelectedRow(), 5);

    for (int i = 0; i < 60; i += 2) list->setPicture(i, PicFailed);
    list->RemoveRowsWithPicture(PicFailed);
    ASSERT_EQ(list->rowCount(), 30);
    EXPECT_EQ(list->caption(0), "1.avi");
    EXPECT_EQ(list->caption(29), "59.avi");
    EXPECT_EQ(list->firstSelectedRow(), 2) << "5.avi, still selected";

    for (int i = 0; i < 25; ++i) list->item(i)->setSelected(true);
    list->RemoveSelectedRows();
    EXPECT_EQ(captions(), (QStringList{"51.avi", "53.avi", "55.avi", "57.avi", "59.avi"}));
    EXPECT_EQ(list->selectedCount(), 0);
}

TEST_F(InputFileListTest, TheFirstSelectedRowIsTheTopmost) {
    list->AddFileList({"/x/a.avi", "/x/b.avi", "/x/c.avi"});
    EXPECT_EQ(list->firstSelectedRow(), -1);
    list->item(2)->setSelected(true);
    list->item(1)->setSelected(true);
    EXPECT_EQ(list->firstSelectedRow(), 1);
    list->RemoveSelectedRows();
    EXPECT_EQ(captions(), (QStringList{"a.avi"}));
}

} // namespace
} // namespace pellucor::app

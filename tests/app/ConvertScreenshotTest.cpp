// Pictures of the Convert and Hot Directory pages for the documentation, written only when PELLUCOR_SCREENSHOTS
// names a folder. Run it under Xvfb with the xcb platform, so that the desktop's real fonts draw
// the window:
//   PELLUCOR_SCREENSHOTS=docs/screenshots QT_QPA_PLATFORM=xcb xvfb-run -a build/bin/app_screenshot_tests
#include "FormFixture.h"
#include "QtEnvironment.h"

#include "fixtures/AviFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

using Screenshot = test::FormFixture;

TEST_F(Screenshot, ConvertPage) {
    const char* folder = std::getenv("PELLUCOR_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "PELLUCOR_SCREENSHOTS names no folder";
    ASSERT_TRUE(QDir().mkpath(folder));

    // Three clips of different lengths, so the Size column shows three different sizes.
    const struct {
        const char* name;
        double seconds;
    } clips[] = {{"holiday-beach.avi", 3.0}, {"interview.avi", 1.0}, {"garden-party.avi", 2.0}};
    std::filesystem::create_directory(dir / "Videos");
    QStringList paths;
    for (const auto& clip : clips) {
        fixtures::AviSpec spec;
        spec.width = 320;
        spec.height = 240;
        spec.seconds = clip.seconds;
        paths << QString::fromStdString(fixtures::writeAvi(dir / "Videos" / clip.name, spec));
    }

    lang::LanguageFile = PELLUCOR_SOURCE_DIR "/data/English.lng";
    AppSettings->PageIndex = 1;  // MP4, the format most people pick
    TfrmPellucor& f = open();
    find<QAbstractButton>("rbtbatch")->setChecked(true);
    trigger("actNext");
    list().AddFileList(paths);
    list().RemoveDuplicateNames();
    f.UpdateListActions();
    f.UpdateMenuStates();
    settleSizes();
    ASSERT_EQ(list().rowCount(), 3);
    for (int row = 0; row < 3; ++row) ASSERT_TRUE(list().sizeText(row).endsWith(" KB")) << row;
    list().item(0)->setSelected(true);
    QApplication::processEvents();

    const QString path = QDir(folder).filePath(QStringLiteral("convert-page.png"));
    EXPECT_TRUE(f.grab().save(path)) << path.toStdString();
}

TEST_F(Screenshot, HotDirectoryPage) {
    const char* folder = std::getenv("PELLUCOR_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "PELLUCOR_SCREENSHOTS names no folder";
    ASSERT_TRUE(QDir().mkpath(folder));

    lang::LanguageFile = PELLUCOR_SOURCE_DIR "/data/English.lng";
    AppSettings->PageIndex = 3;  // FLV
    AppSettings->Indir = "/srv/incoming";
    AppSettings->OutDir = "/srv/converted";
    AppSettings->LogDir = "/srv/logs";
    AppSettings->SubDir = true;
    TfrmPellucor& f = open();
    find<QAbstractButton>("rbrdohotdir")->setChecked(true);
    trigger("actNext");
    QApplication::processEvents();

    const QString path = QDir(folder).filePath(QStringLiteral("hotdir-page.png"));
    EXPECT_TRUE(f.grab().save(path)) << path.toStdString();
}

} // namespace
} // namespace pellucor::app

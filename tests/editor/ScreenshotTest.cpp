// Pictures of the profile editor for the documentation, written only when PELLUCOR_SCREENSHOTS
// names a folder (run under Xvfb for real window decorations and fonts):
//   PELLUCOR_SCREENSHOTS=docs/screenshots xvfb-run -a build/bin/editor_forms_tests
//       --gtest_filter='Screenshot*'
#include "EditorForm.h"
#include "QtEnvironment.h"

#include "editor/PageLists.h"

#include <QDir>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cstdlib>

namespace pellucor::editor {
namespace {

TEST(Screenshot, EditorPages)
{
    const char* folder = std::getenv("PELLUCOR_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "PELLUCOR_SCREENSHOTS names no folder";
    ASSERT_TRUE(QDir().mkpath(folder));

    const char* files[] = {"editor-mpeg.png", "editor-mp4.png", "editor-wmv.png",
                           "editor-flv.png",  "editor-mov.png", "editor-mp3.png"};
    for (int format = 0; format < kFormatCount; ++format) {
        TcdSettings settings;
        TfrmEdit dialog(settings, format, {}, "");
        dialog.setWindowTitle(QString::fromStdString(EditCaption(format)));
        dialog.ShowFormatPage(format);
        dialog.show();
        const QString path = QDir(folder).filePath(files[format]);
        EXPECT_TRUE(dialog.grab().save(path)) << path.toStdString();
    }
}

} // namespace
} // namespace pellucor::editor

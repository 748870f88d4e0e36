#pragma once
// The program's pictures, drawn in code so that no image files need to ship with it: the five
// pictures of the file list, the toolbar and hot-directory button glyphs, the program icon and
// the banner of the Mode page. Main thread only (QPixmap).
#include <QIcon>
#include <QPixmap>

namespace pellucor::app {

// Pictures of the file list (illvfiles), by index.
enum ListPicture : int {
    PicWaiting = 0,    // film strip: a new row, or one waiting to be converted
    PicFailed = 1,     // red cross
    PicConverted = 2,  // green tick
    PicSortUp = 3,     // upward triangle in the sort column's header
    PicSortDown = 4,   // downward triangle
    ListPictureCount = 5,
};
QIcon ListPictureIcon(int index);  // a null icon for -1 or any other index

enum class Glyph { Add, AddFolder, Remove, Clear, Run, End, Minimize, About, Help };
QIcon GlyphIcon(Glyph glyph);

QIcon AppIcon();
QPixmap ModeBanner(int width, int height);

} // namespace pellucor::app

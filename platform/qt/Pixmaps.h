// The program's bitmaps, loaded from the embedded resources by number.
#pragma once

#include <QPixmap>

namespace platform::qt {

// The bitmap ":/bitmaps/<number>.bmp", loaded once; a null pixmap when the
// resource is missing or cannot be read.
const QPixmap& bitmap(int number);

// Puts a pixmap in place of a bitmap, for tests of the drawing.
void replaceBitmap(int number, const QPixmap& pixmap);

// The size the bitmap shows at: its own, or the size the bitmap table gives
// it when the resource itself is missing.
QSize bitmapSize(int number);

}  // namespace platform::qt

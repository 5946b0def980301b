// The program's bitmaps, loaded from the embedded resources by number with
// Qt's image readers, and their twins drawn at twice the size for
// high-density screens.
#pragma once

#include <QIcon>
#include <QPixmap>

class QPainter;

namespace platform::qt {

// The bitmap ":/bitmaps/<number>.bmp", loaded once; a null pixmap when the
// resource is missing or cannot be read.
const QPixmap& bitmap(int number);

// The bitmap to paint on a device of the given pixel ratio: above 1 its twin
// ":/bitmaps/<number>@2x.png" (pixel ratio 2, the same size in logical
// pixels), where there is one; otherwise the bitmap itself.
const QPixmap& bitmapFor(int number, qreal devicePixelRatio);

// Paints the bitmap over `target` (logical pixels) in the density of the
// painter's device. Where the picture does not meet the device pixels one to
// one (a fractional ratio such as 1.5, or a target of another size at a
// ratio that has no twin) it is scaled smoothly. False when there is no
// bitmap to paint.
bool paintBitmap(QPainter& painter, const QRect& target, int number);

// Puts a pixmap in place of a bitmap at every density, for tests of the
// drawing; forgetBitmap drops it, so the resource is read afresh.
void replaceBitmap(int number, const QPixmap& pixmap);
void forgetBitmap(int number);

// The bitmap's own size in logical pixels (an empty size when there is none).
QSize bitmapSize(int number);

// The program's icon at every size it was drawn at up to 64 pixels (a title
// bar, a task list, a window switcher); the larger ones are installed with
// the desktop entry for launchers and menus, and would only cost every
// window a quarter of a megabyte.
QIcon windowIcon();

}  // namespace platform::qt

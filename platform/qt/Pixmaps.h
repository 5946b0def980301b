// The program's bitmaps, loaded from the embedded resources by number, and
// their twins drawn at twice the size for high-density screens.
#pragma once

#include <QImage>
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

// An uncompressed 24-bit BMP file's picture, as Qt's reader gives it (RGB32);
// a null image for any other kind of file.
QImage readPlainBmp(const uchar* data, qint64 size);

// The size the bitmap shows at, in logical pixels: its own, or the size the
// bitmap table gives it when the resource itself is missing.
QSize bitmapSize(int number);

}  // namespace platform::qt

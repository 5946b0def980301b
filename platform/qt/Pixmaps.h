// The program's bitmaps, loaded from the embedded resources by number, and
// their twins drawn at twice the size for high-density screens.
#pragma once

#include <QImage>
#include <QPixmap>

#include <vector>

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

// Bitmaps read ahead on another thread (see EarlyWork): their numbers are
// announced first; the thread claims each before it reads it, then hands the
// image over (a null one when it could not be read). The first look-up of a
// claimed bitmap waits for its image; one not claimed yet is read by the
// looker itself, and the thread's claim then fails. On any thread.
void announceBitmaps(const std::vector<int>& numbers);
bool claimBitmap(int number);
void handOverBitmap(int number, QImage image);

// The size the bitmap shows at, in logical pixels: the bitmap table's (the
// artwork is drawn at that size), else the picture's own; read without
// reading the picture where the table has it.
QSize bitmapSize(int number);

}  // namespace platform::qt

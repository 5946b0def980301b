// Shared pieces of the artwork generator: the palette, the fonts and the
// painters for each kind of bitmap. Every function is deterministic.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace art {

// Palette: a dark slate board, parchment panels, teal buttons, ivory tiles,
// a sunset picture area with a wooden gallows.
namespace colour {
inline const QColor board{0x1f, 0x2d, 0x3a};
inline const QColor boardLight{0x2c, 0x3f, 0x51};
inline const QColor titleStrip{0x12, 0x1b, 0x24};
inline const QColor gold{0xe0, 0xb4, 0x58};
inline const QColor cream{0xf2, 0xe2, 0xb8};
inline const QColor parchment{0xee, 0xe1, 0xbd};
inline const QColor ink{0x3b, 0x2a, 0x1a};
inline const QColor textGrey{0xc0, 0xc0, 0xc0};  // the text controls' own background
inline const QColor tileFace{0xf4, 0xe9, 0xc8};
inline const QColor tileInk{0x3a, 0x26, 0x14};
inline const QColor tray{0x16, 0x21, 0x2b};
inline const QColor wood{0x7a, 0x52, 0x2e};
inline const QColor woodDark{0x4e, 0x33, 0x1c};
inline const QColor rope{0xc9, 0xa8, 0x6a};
inline const QColor skin{0xf0, 0xc8, 0x9a};
inline const QColor shirt{0xb8, 0x47, 0x38};
inline const QColor shirtDark{0x8e, 0x33, 0x28};
inline const QColor trousers{0x3f, 0x4f, 0x74};
inline const QColor shoe{0x2a, 0x1d, 0x14};
}  // namespace colour

// Bold sans of the given pixel size (Liberation Sans, installed with the
// project's fonts); the generator refuses to run without it.
QFont uiFont(int pixelSize, bool bold = true);
QFont titleFont(int pixelSize);
bool fontsAvailable();

// A 24-bit, bottom-up, uncompressed Windows bitmap of the image.
QByteArray encodeBmp24(const QImage& image);

// Painters set up for smooth drawing.
void prepare(QPainter& p);

// An image of the given size in the layout's pixels, drawn at `scale`
// device pixels per layout pixel: a painter on it draws the same picture in
// layout coordinates, only finer.
QImage canvas(int width, int height, int scale, QImage::Format format = QImage::Format_RGB32);

// Text drawn in `rect`, centred, with a one-pixel shadow when `shadow` is valid.
void drawLabel(QPainter& p, const QRect& rect, const QString& text, const QFont& font,
               const QColor& colour, const QColor& shadow = QColor());

// Largest pixel size (at most `maxSize`) at which `text` fits in `width`.
int fittingSize(const QString& text, int width, int maxSize, bool bold = true);

// Button faces and letter tiles. Every bitmap painter takes the scale it
// draws at: 1 for the bitmaps themselves, 2 for their high-density twins.
enum class FaceStyle { Board, TitleGlyph, CloseGlyph };
QImage buttonFace(int normalFaceId, int width, int height, bool pressed, int scale = 1);
QImage letterTile(char letter, int width, int height, int scale = 1);

// The program's icon, drawn for one square size (16 to 256 pixels).
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QImage icon(int size);

// Window backgrounds and the main window's pictures.
QImage mainBackground(int scale = 1);
QImage addPuzzleBackground(int scale = 1);
QImage messagePicture(int scale = 1);
// A picture control's bitmap, drawn over the main background at the
// control's place so it blends in; nullopt-like empty image for unknown ids.
QImage mainPicture(int bitmapId, int width, int height, int scale = 1);

}  // namespace art

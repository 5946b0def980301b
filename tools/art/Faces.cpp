// Button faces and letter tiles.
#include <QLinearGradient>
#include <QPainterPath>

#include <map>

#include "tools/art/Art.h"

namespace art {

namespace {

struct FaceLook {
    QColor surround;          // what lies around the button on its window
    QColor top, bottom;       // normal face gradient
    QColor pressedTop, pressedBottom;
    QColor border;
    QColor text;
};

const FaceLook kBoardLook{colour::board,        QColor(0x2f, 0x6f, 0x94), QColor(0x27, 0x62, 0x88),
                          QColor(0x1a, 0x45, 0x60), QColor(0x28, 0x63, 0x87), QColor(0x0c, 0x22, 0x33),
                          QColor(0xff, 0xff, 0xff)};
const FaceLook kGlyphLook{colour::titleStrip,   QColor(0x44, 0x58, 0x6b), QColor(0x24, 0x33, 0x42),
                          QColor(0x18, 0x22, 0x2c), QColor(0x2a, 0x3a, 0x49), QColor(0x05, 0x0a, 0x0f),
                          QColor(0xf2, 0xe2, 0xb8)};
const FaceLook kCloseLook{colour::titleStrip,   QColor(0xa8, 0x39, 0x2a), QColor(0x8c, 0x2d, 0x20),
                          QColor(0x66, 0x20, 0x16), QColor(0x95, 0x36, 0x27), QColor(0x05, 0x0a, 0x0f),
                          QColor(0xff, 0xf4, 0xe8)};

enum class Glyph { None, Minimise, Close };

struct FaceContent {
    const FaceLook* look;
    Glyph glyph;
    const char* label;
};

// What each button face shows, by its normal face's number.
const std::map<int, FaceContent>& faceContents() {
    static const std::map<int, FaceContent> table = {
        {2700, {&kBoardLook, Glyph::None, "Player 1"}},
        {2850, {&kBoardLook, Glyph::None, "Player 2"}},
        {3000, {&kBoardLook, Glyph::None, "Reset Stats"}},
        {3150, {&kBoardLook, Glyph::None, "Sound"}},
        {3300, {&kBoardLook, Glyph::None, "Level"}},
        {3450, {&kBoardLook, Glyph::None, "New Game"}},
        {3600, {&kBoardLook, Glyph::None, "Reveal"}},
        {3900, {&kGlyphLook, Glyph::Minimise, ""}},
        {4050, {&kGlyphLook, Glyph::None, "?"}},
        {4200, {&kCloseLook, Glyph::Close, ""}},
        {4800, {&kBoardLook, Glyph::None, "Guess Phrase"}},
        {2300, {&kBoardLook, Glyph::None, "OK"}},
        {5100, {&kBoardLook, Glyph::None, "Add Puzzles"}},
        {6300, {&kBoardLook, Glyph::None, "Figure Mode"}},
        {5400, {&kBoardLook, Glyph::None, "Add"}},
        {5850, {&kBoardLook, Glyph::None, "Delete"}},
        {5750, {&kBoardLook, Glyph::None, "View"}},
    };
    return table;
}

}  // namespace

QImage buttonFace(int normalFaceId, int width, int height, bool pressed, int scale) {
    const auto found = faceContents().find(normalFaceId);
    if (found == faceContents().end()) return {};
    const FaceContent& content = found->second;
    const FaceLook& look = *content.look;

    QImage img = canvas(width, height, scale);
    img.fill(look.surround);
    QPainter p(&img);
    prepare(p);

    const bool small = height < 22;
    const qreal radius = small ? 3.0 : 5.0;
    const QRectF body(0.5, 0.5, width - 1.0, height - 1.0);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, pressed ? look.pressedTop : look.top);
    fill.setColorAt(1, pressed ? look.pressedBottom : look.bottom);
    p.setPen(QPen(look.border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(body, radius, radius);

    // Bevel: a light rim on top when raised, a dark one when held down.
    p.setBrush(Qt::NoBrush);
    const QRectF rim = body.adjusted(1, 1, -1, -1);
    QPainterPath upper;
    upper.moveTo(rim.left() + radius, rim.top());
    upper.lineTo(rim.right() - radius, rim.top());
    if (pressed) {
        p.setPen(QPen(QColor(0, 0, 0, 110), 1.5));
        p.drawPath(upper);
        p.drawLine(QPointF(rim.left(), rim.top() + radius), QPointF(rim.left(), rim.bottom() - radius));
    } else {
        p.setPen(QPen(QColor(255, 255, 255, 120), 1));
        p.drawPath(upper);
        p.setPen(QPen(QColor(0, 0, 0, 70), 1));
        p.drawLine(QPointF(rim.left() + radius, rim.bottom()), QPointF(rim.right() - radius, rim.bottom()));
    }

    // Held down, the content moves one pixel right and down.
    const int shift = pressed ? 1 : 0;
    QColor ink = look.text;
    if (pressed) ink = ink.darker(112);
    const QColor shadow(0, 0, 0, 120);
    switch (content.glyph) {
        case Glyph::Minimise: {
            const qreal y = height - 6.0 + shift;
            p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(6.5 + shift, y), QPointF(width - 6.5 + shift, y));
            break;
        }
        case Glyph::Close: {
            const qreal cx = width / 2.0 + shift, cy = height / 2.0 + shift, d = 4.2;
            p.setPen(QPen(shadow, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(cx - d, cy - d + 1), QPointF(cx + d, cy + d + 1));
            p.drawLine(QPointF(cx + d, cy - d + 1), QPointF(cx - d, cy + d + 1));
            p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(cx - d, cy - d), QPointF(cx + d, cy + d));
            p.drawLine(QPointF(cx + d, cy - d), QPointF(cx - d, cy + d));
            break;
        }
        case Glyph::None: {
            const QString text = QString::fromLatin1(content.label);
            const int maxSize = small ? 14 : std::min(14, height / 2);
            const int size = fittingSize(text, width - 8, maxSize);
            drawLabel(p, QRect(shift, shift, width, height - 1), text, uiFont(size), ink, shadow);
            break;
        }
    }
    return img;
}

QImage letterTile(char letter, int width, int height, int scale) {
    QImage img = canvas(width, height, scale);
    img.fill(colour::tray);
    QPainter p(&img);
    prepare(p);
    const QRectF body(0.5, 0.5, width - 1.0, height - 1.0);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, QColor(0xfb, 0xf4, 0xdf));
    fill.setColorAt(1, QColor(0xe0, 0xcf, 0xa2));
    p.setPen(QPen(QColor(0x6e, 0x55, 0x32), 1));
    p.setBrush(fill);
    p.drawRoundedRect(body, 2.5, 2.5);
    // Raised edge: light on top and left, shaded bottom and right.
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawLine(QPointF(2.5, 1.5), QPointF(width - 3.0, 1.5));
    p.drawLine(QPointF(1.5, 2.5), QPointF(1.5, height - 3.0));
    p.setPen(QPen(QColor(0x9c, 0x7d, 0x4e), 1));
    p.drawLine(QPointF(2.5, height - 1.5 - 0.0), QPointF(width - 2.5, height - 1.5));
    p.drawLine(QPointF(width - 1.5, 2.5), QPointF(width - 1.5, height - 2.5));

    const QString text(QChar::fromLatin1(letter));
    const int size = fittingSize(text, width - 4, 15);
    p.setFont(uiFont(size));
    p.setPen(colour::tileInk);
    p.drawText(QRect(0, 0, width - 1, height - 1), Qt::AlignCenter, text);
    return img;
}

}  // namespace art

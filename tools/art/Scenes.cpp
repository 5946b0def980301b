// The three window backgrounds and the main window's pictures.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

#include "tools/art/Art.h"
#include "tools/art/Figure.h"
#include "ui/Bitmaps.h"
#include "ui/Controls.h"

namespace art {

namespace {

const QRect kStage(12, 70, 622, 396);     // the picture area
const QRect kTray(72, 472, 490, 70);      // behind the letter tiles

QRect controlRect(int id) {
    const ui::ControlSpec* c = ui::findControl(id);
    return QRect(c->left, c->top, c->width, c->height);
}

// A picture control shows at its bitmap's size.
QRect pictureRect(int id) {
    const ui::ControlSpec* c = ui::findControl(id);
    const ui::BitmapSpec* b = ui::findBitmap(c->bitmap);
    return QRect(c->left, c->top, b->width, b->height);
}

// A sunken well around a text control, filled with the control's own grey.
void sunkenField(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(r.adjusted(-2, -2, 2, 2), QColor(0x0b, 0x12, 0x18));
    p.fillRect(r.adjusted(-1, -1, 2, 2), QColor(0x6a, 0x82, 0x96));
    p.fillRect(r.adjusted(-1, -1, 1, 1), QColor(0x80, 0x80, 0x80));
    p.fillRect(r, colour::textGrey);
    p.restore();
}

void titleStrip(QPainter& p, int width, int height, const QString& title) {
    p.fillRect(QRect(0, 0, width, height), colour::titleStrip);
    p.fillRect(QRect(0, height - 1, width, 1), colour::gold.darker(130));
    p.setFont(titleFont(18));
    p.setPen(QColor(0, 0, 0));
    p.drawText(QRect(13, 1, 400, height - 1), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(colour::gold);
    p.drawText(QRect(12, 0, 400, height - 1), Qt::AlignLeft | Qt::AlignVCenter, title);
}

void textAt(QPainter& p, const QRect& r, int flags, const QString& text, const QFont& font,
            const QColor& colour) {
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, flags, text);
}

// Deterministic pseudo-random numbers for the stars.
struct Lcg {
    quint32 s = 12345;
    int next(int n) {
        s = s * 1664525u + 1013904223u;
        return static_cast<int>((s >> 8) % static_cast<quint32>(n));
    }
};

void paintStage(QPainter& p) {
    QPainterPath frame;
    frame.addRoundedRect(QRectF(kStage), 8, 8);
    p.save();
    p.setClipPath(frame);
    QLinearGradient sky(0, kStage.top(), 0, kStage.bottom());
    sky.setColorAt(0.00, QColor(0x16, 0x22, 0x48));
    sky.setColorAt(0.45, QColor(0x5a, 0x45, 0x7a));
    sky.setColorAt(0.78, QColor(0xd9, 0x8a, 0x62));
    sky.setColorAt(1.00, QColor(0xf4, 0xc4, 0x7c));
    p.fillRect(kStage, sky);
    // Stars in the upper sky.
    Lcg rng;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const int x = kStage.left() + 6 + rng.next(kStage.width() - 12);
        const int y = kStage.top() + 4 + rng.next(150);
        const int a = 90 + rng.next(140) - (y - kStage.top());
        if (a <= 20) continue;
        p.setBrush(QColor(255, 250, 230, a));
        const qreal s = 0.6 + rng.next(10) / 10.0;
        p.drawEllipse(QPointF(x + 0.5, y + 0.5), s, s);
    }
    // A low setting sun and distant hills.
    QRadialGradient sun(QPointF(118, 424), 70);
    sun.setColorAt(0, QColor(0xff, 0xe2, 0x9a));
    sun.setColorAt(0.45, QColor(0xff, 0xcc, 0x78));
    sun.setColorAt(0.46, QColor(0xff, 0xc0, 0x70, 120));
    sun.setColorAt(1, QColor(0xff, 0xb0, 0x60, 0));
    p.setBrush(sun);
    p.drawEllipse(QPointF(118, 424), 70, 70);
    QPainterPath hills;
    hills.moveTo(kStage.left(), 420);
    hills.cubicTo(90, 392, 170, 398, 230, 414);
    hills.cubicTo(300, 396, 420, 386, 500, 408);
    hills.cubicTo(560, 396, 610, 398, kStage.right() + 1, 406);
    hills.lineTo(kStage.right() + 1, kStage.bottom() + 1);
    hills.lineTo(kStage.left(), kStage.bottom() + 1);
    hills.closeSubpath();
    p.setBrush(QColor(0x5b, 0x3f, 0x5e));
    p.drawPath(hills);
    QPainterPath ground;
    ground.moveTo(kStage.left(), 440);
    ground.cubicTo(160, 428, 420, 426, kStage.right() + 1, 436);
    ground.lineTo(kStage.right() + 1, kStage.bottom() + 1);
    ground.lineTo(kStage.left(), kStage.bottom() + 1);
    ground.closeSubpath();
    QLinearGradient grass(0, 426, 0, kStage.bottom());
    grass.setColorAt(0, QColor(0x4c, 0x6e, 0x3a));
    grass.setColorAt(1, QColor(0x25, 0x3b, 0x22));
    p.setBrush(grass);
    p.drawPath(ground);
    drawGallows(p);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::gold.darker(115), 2));
    p.drawRoundedRect(QRectF(kStage).adjusted(-1, -1, 1, 1), 9, 9);
}

void paintStatistics(QPainter& p) {
    const QRectF panel(644, 72, 244, 228);
    p.setPen(QPen(colour::gold.darker(115), 2));
    p.setBrush(colour::parchment);
    p.drawRoundedRect(panel, 8, 8);
    struct Block {
        const char* heading;
        int total, wins, losses;
    };
    const Block blocks[] = {
        {"Player 1", ui::id::PlayerOneTotalDisplay, ui::id::PlayerOneWinsDisplay,
         ui::id::PlayerOneLossesDisplay},
        {"Player 2", ui::id::PlayerTwoTotalDisplay, ui::id::PlayerTwoWinsDisplay,
         ui::id::PlayerTwoLossesDisplay},
    };
    for (const Block& b : blocks) {
        const QRect total = controlRect(b.total);
        const QRect wins = controlRect(b.wins);
        const QRect losses = controlRect(b.losses);
        textAt(p, QRect(656, total.top() - 27, 200, 22), Qt::AlignLeft | Qt::AlignVCenter,
               b.heading, uiFont(17), colour::ink);
        p.setPen(QPen(colour::gold.darker(120), 1));
        p.drawLine(QPointF(656, total.top() - 4.5), QPointF(876, total.top() - 4.5));
        textAt(p, QRect(652, total.top(), total.left() - 658, total.height()),
               Qt::AlignRight | Qt::AlignVCenter, "Score", uiFont(13), colour::ink);
        textAt(p, QRect(652, wins.top(), wins.left() - 658, wins.height()),
               Qt::AlignRight | Qt::AlignVCenter, "Won", uiFont(13), colour::ink);
        textAt(p, QRect(wins.right() + 3, losses.top(), losses.left() - wins.right() - 5,
                        losses.height()),
               Qt::AlignCenter, "Lost", uiFont(10), colour::ink);
        sunkenField(p, total);
        sunkenField(p, wins);
        sunkenField(p, losses);
    }
    p.setPen(QPen(colour::gold.darker(120), 1));
    p.drawLine(QPointF(652, 194.5), QPointF(880, 194.5));
}

void paintTray(QPainter& p) {
    p.setPen(QPen(colour::boardLight, 1.5));
    p.setBrush(colour::tray);
    p.drawRoundedRect(QRectF(kTray), 7, 7);
    // A recessed slot under every tile, left behind when the tile is used.
    for (int k = 0; k < 26; ++k) {
        const QRectF r = QRectF(pictureRect(ui::id::LetterTile(k))).adjusted(0.5, 0.5, -0.5, -0.5);
        p.save();
        p.setPen(QPen(QColor(0x30, 0x44, 0x56), 1));
        p.setBrush(QColor(0x0c, 0x13, 0x19));
        p.drawRoundedRect(r, 2.5, 2.5);
        p.setPen(QPen(QColor(0, 0, 0, 160), 1));
        p.drawLine(QPointF(r.left() + 2, r.top() + 1), QPointF(r.right() - 2, r.top() + 1));
        p.restore();
    }
}

}  // namespace

QImage mainBackground(int scale) {
    QImage img = canvas(ui::kMainWidth, ui::kMainHeight, scale);
    img.fill(colour::board);
    QPainter p(&img);
    prepare(p);
    titleStrip(p, ui::kMainWidth, 25, "Tarvik_KXv");
    textAt(p, QRect(130, 0, 400, 24), Qt::AlignLeft | Qt::AlignVCenter,
           "guess the phrase before the figure is complete", titleFont(12),
           colour::cream.darker(140));
    sunkenField(p, controlRect(ui::id::PhraseDisplay));
    paintStage(p);
    paintStatistics(p);
    paintTray(p);

    const QRect missed = controlRect(ui::id::MissedLetters);
    textAt(p, QRect(missed.left() - 20, missed.top() - 19, missed.width() + 40, 16), Qt::AlignCenter,
           "Missed", uiFont(13), colour::gold);
    sunkenField(p, missed);

    const QRect limit = controlRect(ui::id::GuessLimitDisplay);
    textAt(p, QRect(limit.center().x() - 22, limit.bottom() + 3, 44, 14), Qt::AlignCenter, "Limit",
           uiFont(11), colour::gold);
    sunkenField(p, limit);

    const QRect hint = controlRect(ui::id::HintDisplay);
    textAt(p, QRect(hint.left(), hint.top() - 17, 80, 15), Qt::AlignLeft | Qt::AlignVCenter, "Hint",
           uiFont(12), colour::gold);
    sunkenField(p, hint);

    sunkenField(p, controlRect(ui::id::GuessEdit));
    return img;
}

QImage addPuzzleBackground(int scale) {
    const ui::BitmapSpec* row = ui::findBitmap(100);
    QImage img = canvas(row->width, row->height, scale);
    img.fill(colour::board);
    QPainter p(&img);
    prepare(p);
    titleStrip(p, row->width, 28, "Add Puzzles");

    const QRectF card(18, 44, row->width - 36, 246);
    p.setPen(QPen(colour::gold.darker(115), 2));
    p.setBrush(colour::parchment);
    p.drawRoundedRect(card, 8, 8);
    textAt(p, QRect(40, 58, 600, 26), Qt::AlignLeft | Qt::AlignVCenter, "Your own puzzles",
           uiFont(20), colour::ink);
    const char* lines[] = {
        "Type a phrase of up to 38 characters and a hint of up to 34,",
        "then press Add to store the puzzle in the library.",
        "",
        "View steps through the stored puzzles one at a time;",
        "Delete removes the puzzle on show.",
    };
    int y = 96;
    for (const char* line : lines) {
        textAt(p, QRect(40, y, 620, 22), Qt::AlignLeft | Qt::AlignVCenter, line, uiFont(15, false),
               colour::ink);
        y += 26;
    }
    // A few tiles as decoration along the bottom of the card.
    const char* word = "TARVIK";
    for (int i = 0; i < 6; ++i) {
        const QImage tile = letterTile(word[i], 19, 20, scale);
        p.fillRect(QRect(500 + i * 24 - 1, 252 - 1, 21, 22), colour::parchment.darker(115));
        p.drawImage(500 + i * 24, 252, tile);
    }

    const QRect phrase = controlRect(ui::id::PhraseEdit);
    const QRect hint = controlRect(ui::id::HintEdit);
    textAt(p, QRect(40, phrase.top(), phrase.left() - 52, phrase.height()),
           Qt::AlignRight | Qt::AlignVCenter, "Phrase", uiFont(15), colour::gold);
    textAt(p, QRect(40, hint.top(), hint.left() - 52, hint.height()),
           Qt::AlignRight | Qt::AlignVCenter, "Hint", uiFont(15), colour::gold);
    sunkenField(p, phrase);
    sunkenField(p, hint);
    return img;
}

QImage messagePicture(int scale) {
    const ui::BitmapSpec* row = ui::findBitmap(1870);
    QImage img = canvas(row->width, row->height, scale);
    img.fill(colour::board);
    QPainter p(&img);
    prepare(p);
    p.setPen(QPen(colour::gold.darker(115), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, row->width - 2, row->height - 2), 6, 6);
    textAt(p, QRect(8, 8, row->width - 16, 22), Qt::AlignCenter, "Use the arrow keys",
           uiFont(16), colour::cream);
    textAt(p, QRect(8, 30, row->width - 16, 22), Qt::AlignCenter, "to move the game window",
           uiFont(16), colour::cream);
    // Arrow keycaps on both sides of the OK button.
    auto key = [&p](QPointF c, qreal angle) {
        p.save();
        p.setPen(QPen(QColor(0x0c, 0x22, 0x33), 1));
        p.setBrush(QColor(0xe8, 0xdc, 0xbc));
        p.drawRoundedRect(QRectF(c.x() - 8, c.y() - 7.5, 16, 15), 3, 3);
        p.translate(c);
        p.rotate(angle);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::ink);
        p.drawPolygon(QPolygonF({QPointF(0, -4.5), QPointF(4.5, 1.5), QPointF(-4.5, 1.5)}));
        p.restore();
    };
    for (qreal cx : {60.0, 257.0}) {
        key(QPointF(cx, 67), 0);
        key(QPointF(cx - 18, 84), -90);
        key(QPointF(cx, 84), 180);
        key(QPointF(cx + 18, 84), 90);
    }
    return img;
}

QImage mainPicture(int bitmapId, int width, int height, int scale) {
    // Find the control that shows this bitmap: the picture blends into the
    // main background at exactly that place.
    const ui::ControlSpec* control = nullptr;
    for (const ui::ControlSpec& c : ui::controlTable)
        if (c.kind == ui::ControlKind::Picture && c.bitmap == bitmapId) control = &c;
    if (!control) return {};
    const QRect place(control->left, control->top, width, height);

    QImage scene = mainBackground(scale);
    QPainter p(&scene);
    prepare(p);
    switch (bitmapId) {
        case 2250: drawPart(p, FigurePart::Head, HeadLook::Worried); break;
        case 2200: drawPart(p, FigurePart::Body, HeadLook::Worried); break;
        case 2150: drawPart(p, FigurePart::LeftArm, HeadLook::Worried); break;
        case 2100: drawPart(p, FigurePart::RightArm, HeadLook::Worried); break;
        case 2050: drawPart(p, FigurePart::LeftLeg, HeadLook::Worried); break;
        case 2000: drawPart(p, FigurePart::RightLeg, HeadLook::Worried); break;
        case 6900: drawPart(p, FigurePart::Head, HeadLook::Bird); break;
        case 6050: drawFigure(p, HeadLook::Lost); break;
        case 6800: drawFigure(p, HeadLook::BirdLost); break;
        case 3750: {
            // A gold trophy with sparkles.
            p.translate(place.topLeft());
            QLinearGradient goldFill(18, 0, 66, 0);
            goldFill.setColorAt(0, QColor(0xff, 0xe9, 0x8a));
            goldFill.setColorAt(0.5, QColor(0xf0, 0xb8, 0x30));
            goldFill.setColorAt(1, QColor(0xa8, 0x72, 0x10));
            const QPen edge(QColor(0x6e, 0x48, 0x08), 1.5);
            p.setPen(QPen(QColor(0xd0, 0x98, 0x20), 4));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(23, 20), 8, 9);
            p.drawEllipse(QPointF(61, 20), 8, 9);
            QPainterPath cup;
            cup.moveTo(22, 8);
            cup.lineTo(62, 8);
            cup.cubicTo(62, 30, 54, 40, 45, 42);
            cup.lineTo(45, 50);
            cup.lineTo(39, 50);
            cup.lineTo(39, 42);
            cup.cubicTo(30, 40, 22, 30, 22, 8);
            cup.closeSubpath();
            p.setPen(edge);
            p.setBrush(goldFill);
            p.drawPath(cup);
            p.drawRoundedRect(QRectF(30, 50, 24, 5), 1.5, 1.5);
            p.setBrush(QColor(0x5a, 0x3a, 0x22));
            p.drawRoundedRect(QRectF(26, 55, 32, 9), 2, 2);
            p.setBrush(colour::gold);
            p.setPen(Qt::NoPen);
            p.drawRect(QRectF(34, 58, 16, 3));
            p.setBrush(QColor(255, 255, 255, 150));
            p.drawEllipse(QPointF(30, 18), 3, 7);
            auto sparkle = [&p](QPointF c, qreal s) {
                QPainterPath star;
                star.moveTo(c + QPointF(0, -s));
                star.quadTo(c, c + QPointF(s, 0));
                star.quadTo(c, c + QPointF(0, s));
                star.quadTo(c, c + QPointF(-s, 0));
                star.quadTo(c, c + QPointF(0, -s));
                p.setBrush(QColor(0xff, 0xf6, 0xc8));
                p.drawPath(star);
            };
            sparkle(QPointF(8, 10), 6);
            sparkle(QPointF(76, 8), 5);
            sparkle(QPointF(74, 46), 4);
            sparkle(QPointF(10, 48), 4);
            break;
        }
        case 3850: {
            // A red ribbon banner reading WIN!
            p.translate(place.topLeft());
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x7e, 0x1c, 0x1c));
            p.drawPolygon(QPolygonF({QPointF(0, 9), QPointF(10, 9), QPointF(10, 27), QPointF(0, 27),
                                     QPointF(4, 18)}));
            p.drawPolygon(QPolygonF({QPointF(53, 9), QPointF(43, 9), QPointF(43, 27), QPointF(53, 27),
                                     QPointF(49, 18)}));
            QLinearGradient red(0, 3, 0, 25);
            red.setColorAt(0, QColor(0xe0, 0x4a, 0x3a));
            red.setColorAt(1, QColor(0xa8, 0x26, 0x22));
            p.setPen(QPen(QColor(0x5e, 0x12, 0x10), 1));
            p.setBrush(red);
            p.drawRoundedRect(QRectF(6.5, 3.5, 40, 20), 2, 2);
            drawLabel(p, QRect(6, 3, 41, 20), "WIN!", uiFont(14), QColor(0xff, 0xf1, 0xc0),
                      QColor(0x4a, 0x0c, 0x0a));
            break;
        }
        case 6400: {
            // A medallion with the bird's head: the alternate figure is on.
            p.translate(place.topLeft());
            const QPointF c(width / 2.0, height / 2.0);
            QRadialGradient disc(c + QPointF(-6, -8), 34);
            disc.setColorAt(0, QColor(0x3e, 0x5e, 0x86));
            disc.setColorAt(1, QColor(0x16, 0x24, 0x3a));
            p.setPen(QPen(colour::gold, 2.5));
            p.setBrush(disc);
            p.drawEllipse(c, 27.5, 27.5);
            drawBirdHead(p, c + QPointF(-6, 4), 14, false);
            break;
        }
        default: {
            // The flight frames: the spirit crosses the picture from left to
            // right over the alternate loss figure, beating its wings.
            static const std::array<int, 7> frames = {7300, 7500, 7700, 7900, 8100, 8300, 8500};
            static const qreal wings[] = {1.0, 0.1, -0.8, 0.2, 1.0, 0.0, -0.7};
            static const qreal lift[] = {136, 130, 124, 118, 114, 110, 108};
            int frame = -1;
            for (int i = 0; i < 7; ++i)
                if (frames[i] == bitmapId) frame = i;
            if (frame < 0) return {};
            drawFigure(p, HeadLook::BirdLost);
            const QPointF centre(place.center().x() + 0.5, lift[frame]);
            drawSpirit(p, centre, 56, wings[frame]);
            break;
        }
    }
    p.end();
    QImage picture = scene.copy(QRect(place.topLeft() * scale, place.size() * scale));
    picture.setDevicePixelRatio(scale);
    return picture;
}

}  // namespace art

// The gallows, the figure that hangs from it stage by stage, and the spirit.
#include "tools/art/Figure.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "tools/art/Art.h"
#include "ui/Bitmaps.h"
#include "ui/Controls.h"

namespace art {

namespace {

// Where the figure hangs: the rope comes down at x 332; the head is centred
// below the beam, the parts meet on the edges of their rectangles.
constexpr qreal kRopeX = 332;
const QPointF kHeadCentre(332, 116);
constexpr qreal kHeadRadius = 23;

int stageControl(FigurePart part) {
    switch (part) {
        case FigurePart::Head: return ui::id::GallowsStage1;
        case FigurePart::Body: return ui::id::GallowsStage2;
        case FigurePart::LeftArm: return ui::id::GallowsStage3;
        case FigurePart::RightArm: return ui::id::GallowsStage4;
        case FigurePart::LeftLeg: return ui::id::GallowsStage5;
        case FigurePart::RightLeg: return ui::id::GallowsStage6;
    }
    return 0;
}

void drawNoose(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::rope.darker(140), 3.6));
    p.drawEllipse(QPointF(kRopeX, 146), 9.5, 3.8);
    p.setPen(QPen(colour::rope, 2.4));
    p.drawEllipse(QPointF(kRopeX, 146), 9.5, 3.8);
    p.setPen(QPen(colour::rope.darker(140), 1));
    p.setBrush(colour::rope);
    p.drawEllipse(QPointF(kRopeX + 9, 142), 3.6, 4.2);
}

void drawHumanHead(QPainter& p, bool lost) {
    const QPointF c = kHeadCentre;
    const qreal r = kHeadRadius;
    // Neck down to the collar.
    p.setPen(Qt::NoPen);
    p.setBrush(colour::skin.darker(112));
    p.drawRect(QRectF(c.x() - 6, c.y() + r - 6, 12, 152 - (c.y() + r - 6)));
    // Ears, face.
    p.setBrush(colour::skin.darker(106));
    p.drawEllipse(QPointF(c.x() - r + 1, c.y() + 2), 4, 6);
    p.drawEllipse(QPointF(c.x() + r - 1, c.y() + 2), 4, 6);
    QRadialGradient face(c + QPointF(-6, -8), r * 1.4);
    face.setColorAt(0, colour::skin.lighter(108));
    face.setColorAt(1, colour::skin.darker(110));
    p.setPen(QPen(colour::skin.darker(150), 1.2));
    p.setBrush(face);
    p.drawEllipse(c, r - 1, r);
    // Hair: a dark cap with a tuft.
    QPainterPath hair;
    hair.moveTo(c.x() - r + 1, c.y() - 2);
    hair.cubicTo(c.x() - r, c.y() - r - 6, c.x() + r, c.y() - r - 6, c.x() + r - 1, c.y() - 2);
    hair.cubicTo(c.x() + 10, c.y() - 14, c.x() - 4, c.y() - 16, c.x() - r + 1, c.y() - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4a, 0x2e, 0x1a));
    p.drawPath(hair);
    // Cheeks.
    p.setBrush(QColor(0xe8, 0x8e, 0x7a, 110));
    p.drawEllipse(QPointF(c.x() - 12, c.y() + 8), 4.5, 3);
    p.drawEllipse(QPointF(c.x() + 12, c.y() + 8), 4.5, 3);

    const QColor dark(0x2a, 0x1a, 0x10);
    if (lost) {
        p.setPen(QPen(dark, 2.2, Qt::SolidLine, Qt::RoundCap));
        for (qreal ex : {c.x() - 8, c.x() + 8}) {
            p.drawLine(QPointF(ex - 4, c.y() - 4), QPointF(ex + 4, c.y() + 4));
            p.drawLine(QPointF(ex + 4, c.y() - 4), QPointF(ex - 4, c.y() + 4));
        }
        QPainterPath mouth;
        mouth.moveTo(c.x() - 7, c.y() + 14);
        mouth.quadTo(c.x(), c.y() + 9, c.x() + 7, c.y() + 14);
        p.setBrush(Qt::NoBrush);
        p.drawPath(mouth);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd9, 0x5b, 0x5b));
        p.drawEllipse(QPointF(c.x() + 3, c.y() + 14.5), 2.6, 3.2);
    } else {
        // Worried: wide eyes glancing up, raised brows, a small round mouth.
        p.setPen(QPen(dark, 1));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(c.x() - 8, c.y() - 1), 4.5, 5.5);
        p.drawEllipse(QPointF(c.x() + 8, c.y() - 1), 4.5, 5.5);
        p.setPen(Qt::NoPen);
        p.setBrush(dark);
        p.drawEllipse(QPointF(c.x() - 7.5, c.y() - 2.5), 2.2, 2.6);
        p.drawEllipse(QPointF(c.x() + 8.5, c.y() - 2.5), 2.2, 2.6);
        p.setPen(QPen(dark, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() - 13, c.y() - 8), QPointF(c.x() - 4, c.y() - 11));
        p.drawLine(QPointF(c.x() + 13, c.y() - 8), QPointF(c.x() + 4, c.y() - 11));
        p.setPen(QPen(dark, 1.5));
        p.setBrush(QColor(0x8a, 0x2e, 0x2e));
        p.drawEllipse(QPointF(c.x(), c.y() + 12), 3, 3.6);
    }
}

void drawHalo(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 236, 160, 90), 5));
    p.drawEllipse(QPointF(kRopeX, 89), 17, 4.5);
    p.setPen(QPen(QColor(0xff, 0xd8, 0x6a), 2.2));
    p.drawEllipse(QPointF(kRopeX, 89), 17, 4.5);
}

void drawBody(QPainter& p) {
    QPainterPath torso;
    torso.moveTo(298, 160);
    torso.quadTo(299, 152, 308, 152);
    torso.lineTo(356, 152);
    torso.quadTo(363, 152, 363, 160);
    torso.lineTo(363, 182);
    torso.lineTo(353, 259);
    torso.lineTo(309, 259);
    torso.lineTo(298, 182);
    torso.closeSubpath();
    QLinearGradient shade(298, 0, 363, 0);
    shade.setColorAt(0, colour::shirt.lighter(108));
    shade.setColorAt(1, colour::shirtDark);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(torso);
    // Collar, buttons, belt.
    p.setBrush(colour::skin.darker(112));
    QPainterPath collar;
    collar.moveTo(324, 152);
    collar.lineTo(340, 152);
    collar.lineTo(332, 163);
    collar.closeSubpath();
    p.drawPath(collar);
    p.setBrush(QColor(0xf3, 0xe0, 0xb0));
    for (int y : {176, 196, 216}) p.drawEllipse(QPointF(332, y), 2.2, 2.2);
    p.setBrush(QColor(0x3b, 0x26, 0x16));
    p.drawRect(QRectF(306, 244, 50, 9));
    p.setBrush(colour::gold);
    p.drawRect(QRectF(327, 243, 10, 11));
    p.setBrush(QColor(0x3b, 0x26, 0x16));
    p.drawRect(QRectF(330, 246, 4, 5));
}

void drawArm(QPainter& p, QPointF shoulder, QPointF wrist) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::shirtDark, 14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shoulder, wrist);
    p.setPen(QPen(colour::shirt, 10, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shoulder + QPointF(0, -1.5), wrist + QPointF(0, -1.5));
    // Cuff and hand.
    const QPointF dir = (wrist - shoulder) / QLineF(shoulder, wrist).length();
    const QPointF hand = wrist + dir * 8;
    p.setPen(QPen(colour::skin.darker(150), 1));
    p.setBrush(colour::skin);
    p.drawEllipse(hand, 6.5, 6.5);
}

void drawLeg(QPainter& p, QPointF hip, QPointF ankle, qreal toe) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::trousers.darker(130), 16, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(hip, ankle);
    p.setPen(QPen(colour::trousers, 11, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(hip + QPointF(-1, 0), ankle + QPointF(-1, 0));
    // Shoe, pointing outwards.
    p.setPen(Qt::NoPen);
    p.setBrush(colour::shoe);
    p.drawEllipse(ankle + QPointF(toe * 0.35, 6), 10.5, 5.5);
    p.drawRect(QRectF(ankle.x() - 6, ankle.y() - 2, 12, 7));
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(ankle + QPointF(toe * 0.55, 4), 3.5, 1.6);
}

}  // namespace

QRect partRect(FigurePart part) {
    const ui::ControlSpec* c = ui::findControl(stageControl(part));
    const ui::BitmapSpec* b = ui::findBitmap(c->bitmap);
    return QRect(c->left, c->top, b->width, b->height);
}

void drawBirdHead(QPainter& p, QPointF c, qreal r, bool lost) {
    const qreal k = r / kHeadRadius;
    auto at = [&](qreal dx, qreal dy) { return c + QPointF(dx * k, dy * k); };
    const QColor plume(0x2f, 0x45, 0x6e), plumeDark(0x1d, 0x2c, 0x4a);
    p.setPen(Qt::NoPen);
    // Crest feathers, bright enough to stand out against the night sky.
    p.setBrush(QColor(0x6a, 0x9a, 0xd8));
    for (int i = 0; i < 3; ++i) {
        QPainterPath f;
        f.moveTo(at(-8 + i * 7, -18));
        f.quadTo(at(-14 + i * 6, -30), at(-10 + i * 7, -32 + i * 2));
        f.quadTo(at(-4 + i * 7, -26), at(-2 + i * 7, -19));
        f.closeSubpath();
        p.drawPath(f);
    }
    QRadialGradient g(at(-6, -8), r * 1.4);
    g.setColorAt(0, plume.lighter(130));
    g.setColorAt(1, plumeDark);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    // Pale face patch around the eye.
    p.setBrush(QColor(0xdf, 0xe8, 0xf5));
    p.drawEllipse(at(7, -3), 10 * k, 9 * k);
    // Beak.
    QPainterPath beak;
    beak.moveTo(at(16, -8));
    beak.quadTo(at(34, -2), at(39, 5));
    beak.quadTo(at(28, 8), at(15, 9));
    beak.closeSubpath();
    p.setBrush(QColor(0xf2, 0xa2, 0x2c));
    p.drawPath(beak);
    p.setPen(QPen(QColor(0xa8, 0x62, 0x10), 1.0 * k));
    p.drawLine(at(17, 3), at(36, 4));
    // Eye.
    const QColor dark(0x14, 0x10, 0x0c);
    if (lost) {
        p.setPen(QPen(dark, 2 * k, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath lid;
        lid.moveTo(at(2, -3));
        lid.quadTo(at(8, 2), at(14, -3));
        p.drawPath(lid);
    } else {
        p.setPen(QPen(dark, 1 * k));
        p.setBrush(Qt::white);
        p.drawEllipse(at(8, -4), 5.5 * k, 5.5 * k);
        p.setPen(Qt::NoPen);
        p.setBrush(dark);
        p.drawEllipse(at(9.5, -4), 2.8 * k, 3 * k);
        p.setBrush(Qt::white);
        p.drawEllipse(at(10.5, -5.5), 1 * k, 1 * k);
    }
}

void drawPart(QPainter& p, FigurePart part, HeadLook head) {
    p.save();
    p.setClipRect(partRect(part));
    switch (part) {
        case FigurePart::Head:
            if (head == HeadLook::Bird || head == HeadLook::BirdLost) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0x1d, 0x2c, 0x4a));
                p.drawRect(QRectF(kHeadCentre.x() - 7, 134, 14, 18));
                drawBirdHead(p, kHeadCentre, kHeadRadius, head == HeadLook::BirdLost);
                if (head == HeadLook::BirdLost) drawHalo(p);
            } else {
                drawHumanHead(p, head == HeadLook::Lost);
            }
            drawNoose(p);
            break;
        case FigurePart::Body: drawBody(p); break;
        case FigurePart::LeftArm: drawArm(p, QPointF(302, 168), QPointF(238, 178)); break;
        case FigurePart::RightArm: drawArm(p, QPointF(359, 168), QPointF(424, 178)); break;
        case FigurePart::LeftLeg: drawLeg(p, QPointF(320, 254), QPointF(304, 374), -12); break;
        case FigurePart::RightLeg: drawLeg(p, QPointF(342, 254), QPointF(360, 374), 12); break;
    }
    p.restore();
}

void drawFigure(QPainter& p, HeadLook head) {
    for (FigurePart part : {FigurePart::LeftLeg, FigurePart::RightLeg, FigurePart::Body,
                            FigurePart::LeftArm, FigurePart::RightArm, FigurePart::Head})
        drawPart(p, part, head);
}

void drawGallows(QPainter& p) {
    auto plank = [&p](const QPolygonF& shape) {
        p.setPen(QPen(colour::woodDark, 1.5));
        p.setBrush(colour::wood);
        p.drawPolygon(shape);
    };
    // Ground mound and base.
    plank(QPolygonF({QPointF(516, 434), QPointF(596, 434), QPointF(600, 446), QPointF(512, 446)}));
    // Brace, post, beam.
    plank(QPolygonF({QPointF(496, 80), QPointF(506, 80), QPointF(550, 124), QPointF(550, 136)}));
    plank(QPolygonF({QPointF(546, 74), QPointF(562, 74), QPointF(562, 436), QPointF(546, 436)}));
    plank(QPolygonF({QPointF(318, 72), QPointF(568, 72), QPointF(568, 83), QPointF(318, 83)}));
    // Grain.
    p.setPen(QPen(colour::woodDark, 1));
    for (int y = 140; y < 430; y += 37) p.drawLine(QPointF(551, y), QPointF(551, y + 18));
    for (int y = 110; y < 430; y += 53) p.drawLine(QPointF(557, y), QPointF(557, y + 22));
    for (int x = 340; x < 540; x += 61) p.drawLine(QPointF(x, 77), QPointF(x + 26, 77));
    // Bolts.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x22, 0x1c));
    p.drawEllipse(QPointF(554, 78), 2, 2);
    p.drawEllipse(QPointF(548, 128), 2, 2);
    // Rope, knotted over the beam, with its empty noose.
    p.setPen(QPen(colour::rope.darker(140), 4.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(kRopeX, 80), QPointF(kRopeX, 142));
    p.setPen(QPen(colour::rope, 2.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(kRopeX, 80), QPointF(kRopeX, 142));
    p.setPen(QPen(colour::rope.darker(140), 1));
    p.setBrush(colour::rope);
    p.drawRoundedRect(QRectF(kRopeX - 4, 69, 8, 7), 2, 2);
    drawNoose(p);
}

void drawSpirit(QPainter& p, QPointF c, qreal span, qreal wing) {
    p.save();
    const qreal k = span / 56.0;
    auto at = [&](qreal dx, qreal dy) { return c + QPointF(dx * k, dy * k); };
    QRadialGradient glow(c, span * 0.5);
    glow.setColorAt(0, QColor(255, 250, 220, 150));
    glow.setColorAt(0.5, QColor(255, 240, 200, 50));
    glow.setColorAt(1, QColor(255, 240, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, span * 0.5, span * 0.5);
    // Sparkles trailing behind (to the left).
    p.setBrush(QColor(255, 246, 210, 200));
    for (int i = 0; i < 3; ++i) {
        const qreal s = (4 - i) * 0.6 * k;
        p.drawEllipse(at(-27 - i * 5, 5 + ((i % 2) ? -5 : 5)), s, s);
    }
    const QColor feather(0xfb, 0xfb, 0xff), featherShade(0xc9, 0xd6, 0xec);
    // Far wing, behind the body.
    QPainterPath far;
    far.moveTo(at(2, -2));
    far.quadTo(at(8, -14 * wing - 4), at(14, -22 * wing - 2));
    far.quadTo(at(10, -6 * wing), at(8, 0));
    far.closeSubpath();
    p.setBrush(featherShade);
    p.drawPath(far);
    // Tail.
    QPainterPath tail;
    tail.moveTo(at(-12, -1));
    tail.lineTo(at(-26, -6));
    tail.lineTo(at(-25, 5));
    tail.closeSubpath();
    p.setBrush(featherShade);
    p.drawPath(tail);
    // Body and head.
    p.setBrush(feather);
    p.drawEllipse(at(0, 0), 15 * k, 7 * k);
    p.drawEllipse(at(14, -4), 6.5 * k, 6 * k);
    QPainterPath beak;
    beak.moveTo(at(19, -6));
    beak.lineTo(at(26, -3));
    beak.lineTo(at(19, -1));
    beak.closeSubpath();
    p.setBrush(QColor(0xf2, 0xb8, 0x4a));
    p.drawPath(beak);
    p.setBrush(QColor(0x30, 0x3a, 0x55));
    p.drawEllipse(at(15.5, -5.5), 1.3 * k, 1.3 * k);
    // Near wing: a long swept shape whose tip rises and falls.
    QPainterPath near;
    near.moveTo(at(6, -2));
    near.cubicTo(at(0, -20 * wing - 4), at(-14, -28 * wing - 2), at(-22, -30 * wing + 2));
    near.cubicTo(at(-12, -18 * wing + 2), at(-8, -6 * wing + 3), at(-6, 2));
    near.closeSubpath();
    p.setPen(QPen(featherShade, 1));
    p.setBrush(feather);
    p.drawPath(near);
    p.setPen(QPen(featherShade, 1));
    p.drawLine(at(-2, -8 * wing), at(-14, -20 * wing + 2));
    p.restore();
}

}  // namespace art

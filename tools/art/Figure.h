// The hanging figure, drawn part by part at its place in the main window,
// and the flying spirit of the alternate loss.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QRect>

namespace art {

enum class FigurePart { Head, Body, LeftArm, RightArm, LeftLeg, RightLeg };
enum class HeadLook { Worried, Lost, Bird, BirdLost };

// The rectangle of the gallows picture that carries the part (main window
// coordinates, from the control and bitmap tables).
QRect partRect(FigurePart part);

// Draws one part, clipped to its rectangle, so parts drawn one by one join
// into the same figure as all of them drawn together.
void drawPart(QPainter& p, FigurePart part, HeadLook head);
void drawFigure(QPainter& p, HeadLook head);

// The gallows (post, beam, brace, rope with an empty noose); part of the
// main background.
void drawGallows(QPainter& p);

// A bird's head of radius r centred at c (the alternate head and the
// figure-mode badge).
void drawBirdHead(QPainter& p, QPointF c, qreal r, bool lost);

// The glowing spirit bird; `wing` runs from -1 (wings down) to 1 (up).
void drawSpirit(QPainter& p, QPointF c, qreal span, qreal wing);

}  // namespace art

#include "platform/qt/KeyboardPlay.h"

#include <QPainter>
#include <QPen>
#include <QRect>

namespace platform::qt::keyboardplay {

namespace {
bool modeOn = false;
}  // namespace

bool on() { return modeOn; }
void setOn(bool value) { modeOn = value; }

void drawFocusRing(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(QColor(0xff, 0xe0, 0x00), 2));
    painter.drawRect(QRectF(rect).adjusted(2, 2, -2, -2));
    painter.restore();
}

}  // namespace platform::qt::keyboardplay

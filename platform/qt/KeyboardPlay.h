// Keyboard play on the Qt desktop: whether it is on, and the focus ring the
// buttons and edits draw while they have the focus.
#pragma once

class QPainter;
class QRect;

namespace platform::qt::keyboardplay {

bool on();
void setOn(bool on);

// A ring inside the rectangle: black outside, yellow within, visible on the
// blue faces and on the grey fields alike.
void drawFocusRing(QPainter& painter, const QRect& rect);

}  // namespace platform::qt::keyboardplay

#include "platform/qt/TopWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/Controls.h"
#include "platform/qt/KeyboardPlay.h"
#include "platform/qt/Pixmaps.h"

namespace platform::qt {

TopWindow::TopWindow(platform::Window which, int backgroundBitmap, bool owned)
    // Qt writes WM_TRANSIENT_FOR only for windows of the dialog kinds.
    : QWidget(nullptr, (owned ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint),
      which_(which),
      background_(backgroundBitmap) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The window itself takes the keyboard focus when the program gives it;
    // a click alone does not move the focus.
    setFocusPolicy(Qt::NoFocus);
}

void TopWindow::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    const QPixmap& tile = bitmapFor(background_, devicePixelRatioF());
    if (tile.isNull()) {
        painter.fillRect(e->rect(), QColor(0xC0, 0xC0, 0xC0));
        return;
    }
    // A pattern brush from the window's origin; a bitmap as big as the
    // window is copied straight, which is the same and much faster.
    const QRect area = e->rect();
    if (tile.devicePixelRatio() == devicePixelRatioF() &&
        QRect(QPoint(0, 0), tile.deviceIndependentSize().toSize()).contains(area)) {
        painter.drawPixmap(area, tile, QRectF(QPointF(area.topLeft()) * tile.devicePixelRatio(),
                                              QSizeF(area.size()) * tile.devicePixelRatio()));
        return;
    }
    painter.setBrushOrigin(0, 0);
    painter.fillRect(area, QBrush(tile));
}

namespace {
std::intptr_t clientPoint(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return platform::pointToLParam({p.x(), p.y()});
}
}  // namespace

void TopWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    platform::sendMessage(which_, platform::Message::LButtonDown, 0, clientPoint(e));
}

// The classic window class has no double clicks. Qt delivers the second
// press of a double click as a press anyway, then this event: ignore it.
void TopWindow::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

void TopWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    platform::sendMessage(which_, platform::Message::LButtonUp, 0, clientPoint(e));
}

int TopWindow::virtualKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Left: return platform::VK_LEFT;
        case Qt::Key_Up: return platform::VK_UP;
        case Qt::Key_Right: return platform::VK_RIGHT;
        case Qt::Key_Down: return platform::VK_DOWN;
        case Qt::Key_Backspace: return 0x08;
        case Qt::Key_Tab: return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 0x0D;
        case Qt::Key_Shift: return 0x10;
        case Qt::Key_Control: return 0x11;
        case Qt::Key_Alt: return 0x12;
        case Qt::Key_Escape: return 0x1B;
        case Qt::Key_Space: return 0x20;
        case Qt::Key_PageUp: return 0x21;
        case Qt::Key_PageDown: return 0x22;
        case Qt::Key_End: return 0x23;
        case Qt::Key_Home: return 0x24;
        case Qt::Key_Insert: return 0x2D;
        case Qt::Key_Delete: return 0x2E;
        default: break;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 0x41 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x30 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
    return 0;
}

void TopWindow::keyPressEvent(QKeyEvent* e) {
    // With the Alt key held these are system keys, not key presses of the
    // window; Alt+F4 is the close command.
    if (e->modifiers() & Qt::AltModifier) {
        e->accept();
        if (e->key() == Qt::Key_F4 && !e->isAutoRepeat())
            platform::sendMessage(which_, platform::Message::Close);
        return;
    }
    // Keys reach the program only while the window itself, not one of its
    // edit fields, has the focus (in keyboard play a button may have it);
    // keys an edit passes on stop here, but for Escape in keyboard play.
    QWidget* focused = focusWidget();
    if (focused != nullptr && focused != this && qobject_cast<FaceButton*>(focused) == nullptr) {
        e->accept();
        if (keyboardplay::on() && e->key() == Qt::Key_Escape)
            platform::sendMessage(which_, platform::Message::KeyDown, platform::VK_ESCAPE, 0);
        return;
    }
    e->accept();
    platform::sendMessage(which_, platform::Message::KeyDown,
                          static_cast<std::uintptr_t>(virtualKey(e->key())), 0);
}

bool TopWindow::focusNextPrevChild(bool next) {
    return keyboardplay::on() && QWidget::focusNextPrevChild(next);
}

void TopWindow::closeEvent(QCloseEvent* e) {
    // The program decides: any close request takes the orderly way out.
    e->ignore();
    platform::sendMessage(which_, platform::Message::Close);
}

}  // namespace platform::qt

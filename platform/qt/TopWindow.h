// A frameless top-level window of the Qt desktop: paints its background
// bitmap as a pattern from its origin and turns mouse, keyboard and close
// requests into the program's messages. An owned window is a dialog for the
// window system: transient for its owner (see QtDesktop::createWindow), so a
// window manager keeps it above the owner and minimises it along.
#pragma once

#include <QWidget>

#include "platform/Desktop.h"

namespace platform::qt {

class TopWindow : public QWidget {
    Q_OBJECT
public:
    TopWindow(platform::Window which, int backgroundBitmap, bool owned);
    platform::Window which() const { return which_; }

    // The Win32 virtual key code for a Qt key (0 when it has none).
    static int virtualKey(int qtKey);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // Tab moves the focus only in keyboard play.
    bool focusNextPrevChild(bool next) override;

private:
    platform::Window which_;
    int background_;
};

}  // namespace platform::qt

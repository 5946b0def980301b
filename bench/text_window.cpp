// A second yardstick for the start-up benchmark: the bare window with one
// line of text on it, in the game's control font. The bare window never
// touches fonts; any window with text pays for fontconfig's configuration,
// the font database and a font, and this shows what that costs by itself.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("text-window"));
    window.setFixedSize(900, 620);
    window.move(62, 6);
    QPalette p = window.palette();
    p.setColor(QPalette::Window, QColor(0x40, 0x60, 0x80));
    window.setPalette(p);
    window.setAutoFillBackground(true);
    QLabel text(QStringLiteral("Tarvik_KXv"), &window);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    text.setFont(font);
    text.setGeometry(10, 10, 200, 20);
    window.show();
    return QApplication::exec();
}

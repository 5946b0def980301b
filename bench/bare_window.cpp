// The yardstick for the start-up benchmark: the least a Qt Widgets program
// does to show a frameless 900x620 window. Built a second time as the text
// window, with one line of text on it in the game's control font: the bare
// window never touches fonts, while any window with text pays for
// fontconfig's configuration, the font database and a font.
#include <QApplication>
#include <QWidget>
#ifdef ONE_LINE_OF_TEXT
#include <QFont>
#include <QLabel>
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("bare-window"));
    window.setFixedSize(900, 620);
    window.move(62, 6);
    QPalette p = window.palette();
    p.setColor(QPalette::Window, QColor(0x40, 0x60, 0x80));
    window.setPalette(p);
    window.setAutoFillBackground(true);
#ifdef ONE_LINE_OF_TEXT
    QLabel text(QStringLiteral("Tarvik_KXv"), &window);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    text.setFont(font);
    text.setGeometry(10, 10, 200, 20);
#endif
    window.show();
    return QApplication::exec();
}

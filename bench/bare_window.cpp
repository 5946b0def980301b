// The yardstick for the start-up benchmark: the least a Qt Widgets program
// does to show a frameless 900x620 window.
#include <QApplication>
#include <QWidget>

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
    window.show();
    return QApplication::exec();
}
